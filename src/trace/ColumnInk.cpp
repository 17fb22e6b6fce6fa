#include "trace/ColumnInk.h"

#include "trace/CurveInk.h"

#include <algorithm>

namespace {

// A grid line is looked for this far either side of the column, leaving out
// the few columns next to it where the curve itself is.
constexpr int kLineReach = 40;
constexpr int kLineSkip = 3;
// The share of those columns that must be dark: a dotted grid shrunk onto the
// canvas still darkens a sixth of its row far out, a curve leaves the row within a few.
constexpr double kLineShare = 0.15;

} // namespace

bool ColumnInk::dark(std::int32_t x, std::int32_t row) const
{
    if (x < 0 || x > buffer_.maxX() || row < 1 || row > buffer_.maxY())
        return false;
    const Bgra& p = buffer_.at(x, row);
    return isDarkColour(p.red, p.green, p.blue);
}

std::vector<InkRun> ColumnInk::runs(std::int32_t x, std::int32_t from, std::int32_t to,
                                    std::int32_t lineTestUpTo) const
{
    std::vector<InkRun> found;
    from = std::max(from, 1);
    to = std::min(to, buffer_.maxY());
    for (std::int32_t r = from; r <= to; ++r) {
        if (!dark(x, r))
            continue;
        InkRun run{r, r};
        while (dark(x, run.top - 1))
            --run.top;
        while (dark(x, run.bottom + 1))
            ++run.bottom;
        if (run.height() <= lineTestUpTo) {
            run.line = verticalLine(x, run);
            for (std::int32_t q = run.top; q <= run.bottom && !run.line; ++q)
                run.line = horizontalLine(x, q);
        }
        found.push_back(run);
        r = run.bottom + 1;
    }
    return found;
}

bool ColumnInk::verticalLine(std::int32_t x, const InkRun& run) const
{
    // A dot of a dotted vertical line has more dots above and below it.
    const auto share = [&](std::int32_t from, int step) {
        int count = 0;
        for (int d = kLineSkip + 1; d <= kLineReach; ++d)
            count += dark(x, from + step * d) ? 1 : 0;
        return double(count) / (kLineReach - kLineSkip);
    };
    return share(run.top, -1) >= kLineShare && share(run.bottom, +1) >= kLineShare;
}

bool ColumnInk::horizontalLine(std::int32_t x, std::int32_t row) const
{
    // Both sides: a curve ending on a line's end, or a tick, is not a line.
    const auto share = [&](int step) {
        int count = 0;
        for (int d = kLineSkip + 1; d <= kLineReach; ++d)
            count += dark(x + step * d, row) ? 1 : 0;
        return double(count) / (kLineReach - kLineSkip);
    };
    return share(-1) >= kLineShare && share(+1) >= kLineShare;
}
