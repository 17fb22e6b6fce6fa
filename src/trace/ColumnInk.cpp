#include "trace/ColumnInk.h"

#include "trace/CurveInk.h"

#include <algorithm>
#include <cmath>

namespace {

// A grid line is looked for this far either side of the column, leaving out
// the few columns next to it where the curve itself is.
constexpr int kLineReach = 40;
constexpr int kLineSkip = 3;
// The share of those columns that must be dark: a dotted grid shrunk onto the
// canvas still darkens a sixth of its row far out, a curve leaves the row within a few.
constexpr double kLineShare = 0.15;

// Whether enough of the pixels at distances kLineSkip + 1 .. kLineReach are
// dark, stopping as soon as the answer is known: a line is told after a few
// pixels, a curve's light surroundings after most of them.
template <typename Dark>
bool enoughDark(Dark darkAt)
{
    constexpr int total = kLineReach - kLineSkip;
    const int needed = int(std::ceil(kLineShare * total));
    int count = 0;
    for (int d = kLineSkip + 1, left = total; d <= kLineReach; ++d, --left) {
        if (count + left < needed)
            return false;
        if (darkAt(d) && ++count >= needed)
            return true;
    }
    return count >= needed;
}

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
        found.push_back(run);
        r = run.bottom + 1;
    }
    // Lines matter only where there is a choice to make.
    if (found.size() > 1)
        for (InkRun& run : found)
            if (run.height() <= lineTestUpTo) {
                // Along the rows first: those reads are next to each other.
                for (std::int32_t q = run.top; q <= run.bottom && !run.line; ++q)
                    run.line = horizontalLine(x, q);
                run.line = run.line || verticalLine(x, run);
            }
    return found;
}

bool ColumnInk::verticalLine(std::int32_t x, const InkRun& run) const
{
    // A dot of a dotted vertical line has more dots above and below it.
    return enoughDark([&](int d) { return dark(x, run.top - d); })
        && enoughDark([&](int d) { return dark(x, run.bottom + d); });
}

bool ColumnInk::horizontalLine(std::int32_t x, std::int32_t row) const
{
    // Both sides: a curve ending on a line's end, or a tick, is not a line.
    return enoughDark([&](int d) { return dark(x - d, row); }) && enoughDark([&](int d) { return dark(x + d, row); });
}
