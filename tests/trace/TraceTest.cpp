// The tracer on pixel buffers: where a column's search finds the curve, and
// which points a run from the start point to the end line records.
#include "trace/TraceColumn.h"
#include "trace/TraceRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

// A white buffer of picture rows 1..maxY (row 0 is the spare row) with dark
// blocks, columns x0..x1 of buffer rows y0..y1 inclusive.
PixelBuffer buffer(int maxX, int maxY, const std::vector<std::array<int, 4>>& dark)
{
    PixelBuffer b;
    b.redim(maxX, maxY);
    for (int y = 1; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x)
            b.at(x, y) = Bgra{255, 255, 255, 0};
    for (const auto& [x0, x1, y0, y1] : dark)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                b.at(x, y) = Bgra{0, 0, 0, 0};
    return b;
}

std::vector<int> offsets(const std::vector<TracePoint>& points)
{
    std::vector<int> out;
    for (const TracePoint& p : points)
        out.push_back(p.i);
    return out;
}

TEST(TraceColumn, CountsTheDarkRowsAndMovesToTheirMean)
{
    // Name, dark runs in column 1 (buffer rows, inclusive), y, range; the expected n, sum and new row.
    const std::tuple<const char*, std::vector<std::pair<int, int>>, int, int, double, double, int> cases[] = {
        // On the curve each pass adds the row after the one it tested.
        {"thick, from its middle", {{10, 14}}, 12, 50, 6, 72, 12}, {"thick, from its top", {{10, 14}}, 10, 50, 6, 74, 12},
        {"one-pixel line", {{50, 50}}, 50, 50, 2, 100, 50}, {"run down to the last row", {{195, 200}}, 198, 50, 7, 1382, 197},
        // Off the curve: a window of `range` rows around y; a run crossing its edge counts the edge twice.
        {"inside the window", {{118, 122}}, 100, 50, 5, 600, 120}, {"across the bottom", {{120, 130}}, 100, 50, 12, 1500, 125},
        {"across the top", {{70, 80}}, 100, 50, 12, 900, 75}, {"cut at the top", {{1, 5}}, 20, 50, 5, 15, 3},
        {"cut at the bottom", {{199, 200}}, 190, 50, 1, 199, 199}, {"last row outside a cut window", {{200, 200}}, 190, 50, 0, 0, 0},
        {"nothing in the window", {{140, 150}}, 100, 50, 0, 0, 0}, {"two runs", {{90, 90}, {110, 110}}, 100, 50, 2, 200, 100},
        {"range 0: its own row only", {{101, 101}}, 100, 0, 0, 0, 0},
        // Odd range: offsets are halves; the row looked at is rounded to even, the
        // sum takes the unrounded row. Rows looked at: 74, 76, 76, 78, ...
        {"odd range, row seen twice", {{76, 76}}, 100, 51, 2, 152, 76}, {"odd range, top edge", {{74, 74}}, 100, 51, 3, 222.5, 74},
        {"odd range, row skipped", {{75, 75}}, 100, 51, 0, 0, 0},
        // Halves of the mean go to the even row.
        {"mean 12.5", {{12, 13}}, 14, 10, 2, 25, 12}, {"mean 13.5", {{13, 14}}, 16, 10, 2, 27, 14},
        // The extensions stop at the first and last picture row (both counted);
        // the spare row 0 reads black but is never taken for the curve.
        {"up to the first row", {{1, 30}}, 40, 50, 31, 480, 15}, {"down to the last row", {{180, 200}}, 160, 50, 22, 4175, 190},
        {"odd window never takes the spare row", {}, 26, 51, 0, 0, 0},
    };
    for (const auto& [name, darkRuns, y, range, n, sum, row] : cases) {
        SCOPED_TRACE(name);
        std::vector<std::array<int, 4>> dark;
        for (auto [first, last] : darkRuns)
            dark.push_back({1, 1, first, last});
        const TraceColumnResult r = TraceColumn(buffer(3, 200, dark), 1, y, static_cast<std::int16_t>(range), 200.0);
        EXPECT_DOUBLE_EQ(r.n, n);
        EXPECT_DOUBLE_EQ(r.sum, sum);
        EXPECT_EQ(r.found(), n != 0);
        EXPECT_TRUE(n == 0 || r.row() == row) << "row " << r.row();
    }
}

TEST(TraceColumn, DarkMeansEveryChannelAtMost100AndNothingOutsideTheBufferIsRead)
{
    const std::pair<Bgra, bool> pixels[] = {{{100, 100, 100, 0}, true}, {{0, 0, 0, 255}, true}, // not the reserved byte
                                            {{101, 0, 0, 0}, false}, {{0, 101, 0, 0}, false}, {{0, 0, 101, 0}, false}};
    for (const auto& [colour, dark] : pixels) {
        PixelBuffer b = buffer(3, 200, {});
        b.at(1, 50) = colour;
        EXPECT_EQ(TraceColumn(b, 1, 50, 0, 200.0).found(), dark)
            << int(colour.red) << "," << int(colour.green) << "," << int(colour.blue);
    }
    const PixelBuffer b = buffer(3, 200, {{0, 3, 1, 3}, {0, 3, 198, 200}});
    const std::tuple<int, int, int> outside[] = {{-1, 2, 50}, {4, 2, 50}, {INT_MIN, 2, 50}, {INT_MAX, 2, 50},
                                                 {1, 240, 50}, {1, INT_MAX, 32767}, {1, INT_MIN, 32767}};
    for (auto [x, y, range] : outside)
        EXPECT_FALSE(TraceColumn(b, x, y, std::int16_t(range), 200.0).found()) << x << "," << y;
    EXPECT_EQ(TraceColumn(b, 1, -5, 50, 200.0).row(), 2) << "just above the picture the window starts at row 1";
    EXPECT_FALSE(TraceColumn(PixelBuffer{}, 0, 0, 50, 0).found());
}

// A horizontal line on picture row 40 (buffer row 41), traced from column 10.
constexpr int kStartX = 10 * 15, kStartY = 40 * 15;
const PixelBuffer kLine = buffer(100, 100, {{0, 100, 41, 41}});

TEST(TraceRun, RecordsEveryFreqthColumnFromStartToEndLine)
{
    // Interval, end line minus start (twips), the offsets recorded.
    const std::tuple<std::int16_t, int, std::vector<int>> spans[] = {
        {1, -1, {}}, {1, 0, {0}}, {1, 14, {0}} /* the bound is real: 14/15 < 1 */, {1, 15, {0, 1}}, {1, 44, {0, 1, 2}},
        {1, 45, {0, 1, 2, 3}}, {5, 22 * 15, {0, 5, 10, 15, 20}}, {7, 22 * 15, {0, 7, 14, 21}},
    };
    for (const auto& [freq, span, expected] : spans)
        EXPECT_EQ(offsets(TraceRun(kLine, {freq, 50}, kStartX, kStartY, kStartX + span, 100)), expected)
            << "freq " << freq << ", end - start = " << span;
    // Unusable intervals and markers off the picture record nothing; an end line
    // far beyond the picture stops at the buffer's last column.
    for (std::int16_t freq : {0, -3})
        EXPECT_TRUE(TraceRun(kLine, {freq, 50}, kStartX, kStartY, kStartX + 150, 100).empty());
    EXPECT_TRUE(TraceRun(kLine, {1, 50}, kStartX, INT_MAX, kStartX + 150, 100).empty());
    EXPECT_TRUE(TraceRun(kLine, {1, 50}, INT_MIN, kStartY, INT_MIN + 300, 100).empty());
    const auto wide = TraceRun(kLine, {1, 50}, kStartX, kStartY, INT_MAX, 100);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.back().i, 90);
}

// A line rising one row every two columns from buffer row 81 at column 0,
// two rows thick, among what a plot puts in its way.
int risingRow(int column) { return 81 - column / 2; }
std::vector<std::array<int, 4>> risingLine(int from, int to)
{
    std::vector<std::array<int, 4>> dark;
    for (int c = from; c <= to; ++c)
        dark.push_back({c, c, risingRow(c), risingRow(c) + 1});
    return dark;
}

TEST(FollowCurve, HoldsTheCurveWhereTheColumnSearchWouldLeaveIt)
{
    struct Case {
        const char* what;
        std::vector<std::array<int, 4>> clutter;
        std::vector<std::array<int, 2>> gaps; // columns of the line left out
        std::vector<int> unsure;              // recorded offsets that must be marked
    };
    const Case cases[] = {
        {"a horizontal grid line it crosses", {{0, 159, 61, 61}}, {}, {}},
        {"a dotted grid line", [] {
             std::vector<std::array<int, 4>> dots;
             for (int c = 0; c < 160; c += 4)
                 dots.push_back({c, c, 66, 66});
             return dots;
         }(), {}, {}},
        {"a vertical line", {{70, 70, 1, 119}}, {}, {70}},
        {"a second line close beside it", {{0, 159, 95, 95}}, {}, {}},
        {"a gap, bridged", {}, {{28, 33}}, {30}},
        {"a filled symbol on it", {{48, 53, 50, 60}}, {}, {50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::array<int, 4>> dark;
        int from = 0;
        for (const auto& [a, b] : c.gaps) {
            const auto part = risingLine(from, a - 1);
            dark.insert(dark.end(), part.begin(), part.end());
            from = b + 1;
        }
        const auto rest = risingLine(from, 130);
        dark.insert(dark.end(), rest.begin(), rest.end());
        dark.insert(dark.end(), c.clutter.begin(), c.clutter.end());
        const PixelBuffer b = buffer(160, 120, dark);
        const TraceOutcome run = FollowCurve(b, {10, 50}, 0, (risingRow(0) - 1) * 15, 120 * 15, 120);
        EXPECT_FALSE(run.lost);
        EXPECT_EQ(offsets(run.points), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}));
        for (const TracePoint& p : run.points) {
            // The line's middle is half a row below its top row, one row
            // above in picture rows.
            EXPECT_NEAR(p.yt / 15, risingRow(p.i) - 0.5, p.unsure ? 1.0 : 0.5) << p.i;
            const bool marked = std::find(c.unsure.begin(), c.unsure.end(), p.i) != c.unsure.end();
            if (marked) {
                EXPECT_TRUE(p.unsure) << p.i;
            }
        }
    }
}

TEST(FollowCurve, StopsWhereTheCurveIsLostRatherThanJumpToOtherInk)
{
    // The line ends at column 40; another begins 20 rows lower. The column
    // search would take it; the walk bridges the scan range, then gives up.
    const PixelBuffer b = buffer(200, 120, {{0, 40, 41, 41}, {42, 200, 61, 61}});
    const TraceOutcome run = FollowCurve(b, {5, 30}, kStartX, kStartY, 190 * 15, 120);
    EXPECT_TRUE(run.lost);
    EXPECT_EQ(run.lostAt, 30);
    EXPECT_EQ(offsets(run.points), (std::vector<int>{0, 5, 10, 15, 20, 25, 30}));
    EXPECT_EQ(run.unsureCount(), 0u);
}

TEST(TraceRun, TracedPointMeetsAClickOnTheSamePixel)
{
    // One dark pixel per column, gentle enough that no column holds two.
    const auto curveRow = [](int column) { return int(std::lround(60 + 25 * std::sin(column / 40.0))); };
    std::vector<std::array<int, 4>> dark;
    for (int c = 0; c < 200; ++c)
        dark.push_back({c, c, curveRow(c) + 1, curveRow(c) + 1});
    // The start marker's centre lies inside the curve's pixel at column 5; x
    // keeps the unrounded start, y is the row a click on the pixel reports.
    const int startColumn = 5, startX = startColumn * 15 + 7;
    const auto points = TraceRun(buffer(200, 120, dark), {5, 50}, startX, curveRow(startColumn) * 15 + 7, 190 * 15, 120);
    ASSERT_EQ(points.size(), 37u); // offsets 0, 5, ..., 180
    for (const TracePoint& p : points) {
        EXPECT_FLOAT_EQ(p.xt, float(startX + p.i * 15));
        EXPECT_FLOAT_EQ(p.yt, float(curveRow(startColumn + p.i) * 15)) << "column " << startColumn + p.i;
    }
}

} // namespace
