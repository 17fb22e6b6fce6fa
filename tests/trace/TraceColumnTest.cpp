#include "trace/TraceColumn.h"

#include "trace/TracePictures.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxY = 200;
constexpr double kHeight = 200.0;
constexpr int kX = 1;

TEST(TraceColumn, CountsAndMeanRow)
{
    // Name, dark runs (buffer rows, inclusive), y, range, then the expected n, sum and new row.
    const std::tuple<const char*, std::vector<std::pair<int, int>>, int, int, double, double, int> cases[] = {
        // On the curve: each pass adds the row after the one it tested.
        {"ThickLineFromMiddle", {{10, 14}}, 12, 50, 6, 72, 12},
        {"ThickLineFromTopRow", {{10, 14}}, 10, 50, 6, 74, 12},
        {"OnePixelLine", {{50, 50}}, 50, 50, 2, 100, 50},
        {"RunDownToLastRow", {{195, 200}}, 198, 50, 7, 1382, 197},
        // Off the curve: window of range rows around y.
        {"RunInsideWindow", {{118, 122}}, 100, 50, 5, 600, 120},
        {"RunCrossingBottomEdgeCountsEdgeTwice", {{120, 130}}, 100, 50, 12, 1500, 125},
        {"RunCrossingTopEdgeCountsEdgeTwice", {{70, 80}}, 100, 50, 12, 900, 75},
        {"WindowCutAtTopHasNoUpwardExtension", {{1, 5}}, 20, 50, 5, 15, 3},
        {"WindowCutAtBottomEndsAboveLastRow", {{199, 200}}, 190, 50, 1, 199, 199},
        {"LastRowAloneIsOutsideCutWindow", {{200, 200}}, 190, 50, 0, 0, 0},
        {"NothingInWindow", {{140, 150}}, 100, 50, 0, 0, 0},
        {"TwoRunsAveraged", {{90, 90}, {110, 110}}, 100, 50, 2, 200, 100},
        {"RangeZeroLooksAtOwnRowOnly", {{101, 101}}, 100, 0, 0, 0, 0},
        // Odd range: offsets are halves; the row looked at is rounded to even,
        // the sum takes the unrounded row. Rows looked at: 74, 76, 76, 78, ...
        {"OddRangeRowLookedAtTwice", {{76, 76}}, 100, 51, 2, 152, 76},
        {"OddRangeTopEdgeExtension", {{74, 74}}, 100, 51, 3, 222.5, 74},
        {"OddRangeRowSkipped", {{75, 75}}, 100, 51, 0, 0, 0},
        // Halves of the mean go to the even row.
        {"MeanTwelveAndAHalf", {{12, 13}}, 14, 10, 2, 25, 12},
        {"MeanThirteenAndAHalf", {{13, 14}}, 16, 10, 2, 27, 14},
        // The extensions stop at the first and last picture row (both counted);
        // the spare row 0 reads black but is never taken for the curve.
        {"UpwardExtensionStopsAtFirstRow", {{1, 30}}, 40, 50, 31, 480, 15},
        {"DownwardExtensionStopsAtLastRow", {{180, 200}}, 160, 50, 22, 4175, 190},
        {"OddWindowNeverTakesSpareRow", {}, 26, 51, 0, 0, 0},
    };
    for (const auto& [name, darkRuns, y, range, n, sum, row] : cases) {
        SCOPED_TRACE(name);
        PixelBuffer b = whiteBuffer(3, kMaxY);
        for (auto [first, last] : darkRuns)
            darken(b, kX, kX, first, last);
        const TraceColumnResult r = TraceColumn(b, kX, y, static_cast<std::int16_t>(range), kHeight);
        EXPECT_DOUBLE_EQ(r.n, n);
        EXPECT_DOUBLE_EQ(r.sum, sum);
        EXPECT_EQ(r.found(), n != 0);
        EXPECT_TRUE(n == 0 || r.row() == row) << "row " << r.row();
    }
}

TEST(TraceColumn, DarkMeansEveryColourChannelAtMost100)
{
    const std::pair<Bgra, bool> pixels[] = {
        {{100, 100, 100, 0}, true}, {{0, 0, 0, 255}, true}, // the reserved byte is not looked at
        {{101, 0, 0, 0}, false},    {{0, 101, 0, 0}, false}, {{0, 0, 101, 0}, false},
    };
    for (const auto& [colour, dark] : pixels) {
        PixelBuffer b = whiteBuffer(3, kMaxY);
        b.at(kX, 50) = colour;
        EXPECT_EQ(TraceColumn(b, kX, 50, 0, kHeight).found(), dark)
            << int(colour.red) << "," << int(colour.green) << "," << int(colour.blue);
    }
}

TEST(TraceColumn, PositionsOutsideTheBufferFindNothingAndReadNothing)
{
    PixelBuffer b = whiteBuffer(3, kMaxY);
    darken(b, 0, 3, 1, 3);
    darken(b, 0, 3, 198, 200);
    const std::pair<int, int> outside[] = {{-1, 2}, {4, 2}, {INT_MIN, 2}, {INT_MAX, 2}, {kX, kMaxY + 40}};
    for (auto [x, y] : outside)
        EXPECT_FALSE(TraceColumn(b, x, y, 50, kHeight).found()) << x << "," << y;
    EXPECT_FALSE(TraceColumn(b, kX, INT_MAX, 32767, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, kX, INT_MIN, 32767, kHeight).found());
    // Just above the picture the window starts at row 1 and still sees the curve.
    EXPECT_EQ(TraceColumn(b, kX, -5, 50, kHeight).row(), 2);
    EXPECT_FALSE(TraceColumn(PixelBuffer{}, 0, 0, 50, 0).found());
}

} // namespace
