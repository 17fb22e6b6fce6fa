#include "trace/TraceColumn.h"

#include "trace/TracePictures.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxY = 200;
constexpr double kHeight = 200.0;
constexpr int kX = 1;

struct ColumnCase {
    const char* name;
    std::vector<std::pair<int, int>> darkRuns; // buffer rows, inclusive
    int y;
    int range;
    double n;
    double sum;
    int row; // expected new row when found
};

void PrintTo(const ColumnCase& c, std::ostream* os)
{
    *os << c.name;
}

class TraceColumnCases : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(TraceColumnCases, CountsAndMeanRow)
{
    const ColumnCase& c = GetParam();
    PixelBuffer b = whiteBuffer(3, kMaxY);
    for (auto [first, last] : c.darkRuns)
        darkRows(b, kX, first, last);

    const TraceColumnResult r = TraceColumn(b, kX, c.y, static_cast<std::int16_t>(c.range), kHeight);
    EXPECT_DOUBLE_EQ(r.n, c.n);
    EXPECT_DOUBLE_EQ(r.sum, c.sum);
    if (c.n != 0)
        EXPECT_EQ(r.row(), c.row);
    else
        EXPECT_FALSE(r.found());
}

INSTANTIATE_TEST_SUITE_P(
    TraceColumn, TraceColumnCases,
    ::testing::Values(
        // On the curve: each pass adds the row after the one it tested.
        ColumnCase{"ThickLineFromMiddle", {{10, 14}}, 12, 50, 6, 72, 12},
        ColumnCase{"ThickLineFromTopRow", {{10, 14}}, 10, 50, 6, 74, 12},
        ColumnCase{"OnePixelLine", {{50, 50}}, 50, 50, 2, 100, 50},
        ColumnCase{"RunDownToLastRow", {{195, 200}}, 198, 50, 7, 1382, 197},
        // Off the curve: window of range rows around y.
        ColumnCase{"RunInsideWindow", {{118, 122}}, 100, 50, 5, 600, 120},
        ColumnCase{"RunCrossingBottomEdgeCountsEdgeTwice", {{120, 130}}, 100, 50, 12, 1500, 125},
        ColumnCase{"RunCrossingTopEdgeCountsEdgeTwice", {{70, 80}}, 100, 50, 12, 900, 75},
        ColumnCase{"WindowCutAtTopHasNoUpwardExtension", {{1, 5}}, 20, 50, 5, 15, 3},
        ColumnCase{"WindowCutAtBottomEndsAboveLastRow", {{199, 200}}, 190, 50, 1, 199, 199},
        ColumnCase{"LastRowAloneIsOutsideCutWindow", {{200, 200}}, 190, 50, 0, 0, 0},
        ColumnCase{"NothingInWindow", {{140, 150}}, 100, 50, 0, 0, 0},
        ColumnCase{"TwoRunsAveraged", {{90, 90}, {110, 110}}, 100, 50, 2, 200, 100},
        ColumnCase{"RangeZeroLooksAtOwnRowOnly", {{101, 101}}, 100, 0, 0, 0, 0},
        // Odd range: offsets are halves; the row looked at is rounded to even,
        // the sum takes the unrounded row. Rows looked at: 74, 76, 76, 78, ...
        ColumnCase{"OddRangeRowLookedAtTwice", {{76, 76}}, 100, 51, 2, 152, 76},
        ColumnCase{"OddRangeTopEdgeExtension", {{74, 74}}, 100, 51, 3, 222.5, 74},
        ColumnCase{"OddRangeRowSkipped", {{75, 75}}, 100, 51, 0, 0, 0},
        // Halves of the mean go to the even row.
        ColumnCase{"MeanTwelveAndAHalf", {{12, 13}}, 14, 10, 2, 25, 12},
        ColumnCase{"MeanThirteenAndAHalf", {{13, 14}}, 16, 10, 2, 27, 14},
        // The extensions stop at the first and last picture row (both counted);
        // the spare row 0 reads black but is never taken for the curve.
        ColumnCase{"UpwardExtensionStopsAtFirstRow", {{1, 30}}, 40, 50, 31, 480, 15},
        ColumnCase{"DownwardExtensionStopsAtLastRow", {{180, 200}}, 160, 50, 22, 4175, 190},
        ColumnCase{"OddWindowNeverTakesSpareRow", {}, 26, 51, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TraceColumn, DarkMeansEveryColourChannelAtMost100)
{
    struct Pixel {
        Bgra colour;
        bool dark;
    };
    const Pixel pixels[] = {
        {{100, 100, 100, 0}, true},
        {{0, 0, 0, 255}, true}, // the reserved byte is not looked at
        {{101, 0, 0, 0}, false},
        {{0, 101, 0, 0}, false},
        {{0, 0, 101, 0}, false},
    };
    for (const Pixel& p : pixels) {
        PixelBuffer b = whiteBuffer(3, kMaxY);
        b.at(kX, 50) = p.colour;
        // Range 0 and y on the pixel: found only if it is dark.
        const TraceColumnResult r = TraceColumn(b, kX, 50, 0, kHeight);
        EXPECT_EQ(r.found(), p.dark) << int(p.colour.red) << "," << int(p.colour.green) << ","
                                     << int(p.colour.blue);
    }
}

TEST(TraceColumn, PositionsOutsideTheBufferFindNothingAndReadNothing)
{
    PixelBuffer b = whiteBuffer(3, kMaxY);
    for (int x = 0; x <= 3; ++x) {
        darkRows(b, x, 1, 3);
        darkRows(b, x, 198, 200);
    }
    EXPECT_FALSE(TraceColumn(b, -1, 2, 50, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, 4, 2, 50, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, INT_MIN, 2, 50, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, INT_MAX, 2, 50, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, kX, kMaxY + 40, 50, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, kX, INT_MAX, 32767, kHeight).found());
    EXPECT_FALSE(TraceColumn(b, kX, INT_MIN, 32767, kHeight).found());
    // Just above the picture the window starts at row 1 and still sees the curve.
    EXPECT_EQ(TraceColumn(b, kX, -5, 50, kHeight).row(), 2);

    PixelBuffer empty;
    EXPECT_FALSE(TraceColumn(empty, 0, 0, 50, 0).found());
}

} // namespace
