#include "trace/TraceColumn.h"

#include "platform/Numeric.h"

#include <algorithm>

std::int32_t TraceColumnResult::row() const
{
    return roundHalfEven32(sum / n);
}

namespace {

// Reads one column of the buffer. The dark test is per channel: red, green and
// blue each at most 100; the reserved byte is never looked at.
class Column {
public:
    Column(const PixelBuffer& buffer, std::int32_t x, std::int64_t first, std::int64_t last)
        : buffer_(buffer), x_(x), first_(std::max<std::int64_t>(first, 1)),
          last_(std::min<std::int64_t>(last, buffer.maxY()))
    {
    }

    bool isDark(std::int64_t row) const
    {
        // Row 0 holds no picture (it reads as black) and anything past the last
        // row is not there at all; neither may be taken for the curve.
        if (row < first_ || row > last_)
            return false;
        const Bgra& p = buffer_.at(x_, static_cast<int>(row));
        return p.red <= kDarkLimit && p.green <= kDarkLimit && p.blue <= kDarkLimit;
    }

    // Fractional rows (odd ranges) are looked up at the nearest row, halves to
    // even, while the caller adds the unrounded row to its sum.
    bool isDarkAt(double row) const { return isDark(roundHalfEven(row)); }

private:
    static constexpr int kDarkLimit = 100;
    const PixelBuffer& buffer_;
    std::int32_t x_;
    std::int64_t first_, last_;
};

// The current row lies on the curve: measure the dark run through it. Each pass
// adds the row after the one it tested, so the run's two light neighbours are
// counted and y itself is not; the mean is still the run's middle.
void measureRun(const Column& column, std::int64_t y, double height, TraceColumnResult& r)
{
    for (std::int64_t k = 0; double(y + k) <= height && column.isDark(y + k);) {
        ++k;
        r.sum += double(y + k);
        r.n += 1;
    }
    for (std::int64_t k = 0; y + k > 0 && column.isDark(y + k);) {
        --k;
        r.sum += double(y + k);
        r.n += 1;
    }
}

// The curve has left the current row: look for it in a window of about `range`
// rows centred on y, and follow any dark run that crosses the window's edge to
// its end, so a steep stretch of curve is averaged over its whole length.
void scanWindow(const Column& column, std::int64_t y, std::int16_t range, double height,
                TraceColumnResult& r)
{
    const double half = std::max<int>(range, 0) / 2.0;
    const double yd = double(y);

    // A window that would reach above the picture starts at row 1 instead.
    const bool cutTop = !(yd - half > 0);
    const double s = cutTop ? 1.0 - yd : -half;
    // The bottom test is made in single precision, as the canvas height is.
    const bool cutBottom = !(static_cast<float>(height) > static_cast<float>(yd + half));
    const double e = cutBottom ? height - yd - 1.0 : half;

    for (double j = s; j <= e; j += 1.0) {
        if (column.isDarkAt(yd + j)) {
            r.sum += yd + j;
            r.n += 1;
        }
    }
    // The extensions start on the window's edge row itself, so a run crossing
    // the edge counts that row twice. They stop at the first and last picture
    // row; both edge rows are counted when dark.
    if (!cutTop) {
        for (double k = s; column.isDarkAt(yd + k); k -= 1.0) {
            r.sum += yd + k;
            r.n += 1;
        }
    }
    if (!cutBottom) {
        for (double k = e; column.isDarkAt(yd + k); k += 1.0) {
            r.sum += yd + k;
            r.n += 1;
        }
    }
}

} // namespace

TraceColumnResult TraceColumn(const PixelBuffer& buffer, std::int32_t x, std::int32_t y,
                              std::int16_t range, double height)
{
    return TraceColumnWithin(buffer, x, y, range, height, 1, buffer.maxY());
}

TraceColumnResult TraceColumnWithin(const PixelBuffer& buffer, std::int32_t x, std::int32_t y,
                                    std::int16_t range, double height, std::int32_t first, std::int32_t last)
{
    TraceColumnResult result;
    if (x < 0 || x > buffer.maxX() || buffer.maxY() < 1)
        return result;
    const Column column(buffer, x, first, last);
    if (column.isDark(y))
        measureRun(column, y, height, result);
    else
        scanWindow(column, y, range, height, result);
    return result;
}
