#include "trace/TraceRun.h"

#include "platform/Numeric.h"
#include "trace/TraceColumn.h"

std::vector<TracePoint> TraceRun(const PixelBuffer& buffer, const TraceSettings& settings,
                                 std::int32_t traceStartX, std::int32_t traceStartY,
                                 std::int32_t traceEndX, double height)
{
    std::vector<TracePoint> points;
    if (settings.freq < 1)
        return points;

    // The column bound is a real number: 14 twips past the start still leaves
    // only the start column, 15 gives a second one. Subtracting in 64 bits keeps
    // far-apart markers from overflowing.
    const double lastOffset = double(std::int64_t(traceEndX) - std::int64_t(traceStartX)) / kTwipsPerPixelX;
    const double x0 = double(traceStartX) / kTwipsPerPixelX;
    // Buffer row r holds picture row r - 1, so the start marker's picture row
    // is one buffer row further down.
    std::int32_t y = roundHalfEven32(double(traceStartY) / kTwipsPerPixelY) + 1;

    for (std::int64_t i = 0; double(i) <= lastOffset; ++i) {
        const std::int64_t x = roundHalfEven(x0 + double(i));
        // Columns only grow from here; past the buffer nothing more can be found.
        if (x > buffer.maxX())
            break;
        const TraceColumnResult found = TraceColumn(buffer, static_cast<std::int32_t>(x), y,
                                                    settings.range, height);
        if (!found.found())
            continue; // the curve was lost here; look again from the same row
        y = found.row();
        if (i % settings.freq == 0) {
            TracePoint p;
            p.i = static_cast<std::int32_t>(i);
            // From the unrounded start, so recorded X values are evenly spaced
            // whatever column the start fell in.
            p.xt = static_cast<float>(double(traceStartX) + double(i) * kTwipsPerPixelX);
            p.yt = static_cast<float>(double(y - 1) * kTwipsPerPixelY);
            points.push_back(p);
        }
    }
    return points;
}
