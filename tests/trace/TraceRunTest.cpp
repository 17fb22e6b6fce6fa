#include "trace/TraceRun.h"

#include "trace/TracePictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr int kW = 100;
constexpr int kH = 100;
// A horizontal line on picture row 40 (buffer row 41), traced from column 10.
constexpr int kLineRow = 40;
constexpr int kStartX = 10 * 15;
constexpr int kStartY = kLineRow * 15;

PixelBuffer lineBuffer()
{
    PixelBuffer b = whiteBuffer(kW, kH);
    hLine(b, kLineRow + 1, 0, kW);
    return b;
}

std::vector<int> offsets(const std::vector<TracePoint>& points)
{
    std::vector<int> out;
    for (const TracePoint& p : points)
        out.push_back(p.i);
    return out;
}

TEST(TraceRun, ColumnsRunFromStartToEndLine)
{
    const PixelBuffer b = lineBuffer();
    const TraceSettings everyColumn{1, 50};
    struct Span {
        int endMinusStart;
        std::vector<int> expected;
    };
    const Span spans[] = {
        {-1, {}},           // end line left of the start: nothing examined
        {-15 * 20, {}},
        {0, {0}},
        {14, {0}},          // the bound is a real number: 14/15 < 1
        {15, {0, 1}},
        {44, {0, 1, 2}},
        {45, {0, 1, 2, 3}},
    };
    for (const Span& s : spans)
        EXPECT_EQ(offsets(TraceRun(b, everyColumn, kStartX, kStartY, kStartX + s.endMinusStart, kH)),
                  s.expected)
            << "end - start = " << s.endMinusStart;
}

TEST(TraceRun, RecordsEveryFreqthColumnCountedFromTheStart)
{
    const PixelBuffer b = lineBuffer();
    const int end = kStartX + 22 * 15;
    EXPECT_EQ(offsets(TraceRun(b, {5, 50}, kStartX, kStartY, end, kH)), (std::vector<int>{0, 5, 10, 15, 20}));
    EXPECT_EQ(offsets(TraceRun(b, {7, 50}, kStartX, kStartY, end, kH)), (std::vector<int>{0, 7, 14, 21}));
    EXPECT_EQ(TraceRun(b, {1, 50}, kStartX, kStartY, end, kH).size(), 23u);
}

TEST(TraceRun, RecordingColumnWithoutCurveIsSkippedNotMadeUp)
{
    PixelBuffer b = lineBuffer();
    b.at(15, kLineRow + 1) = Bgra{255, 255, 255, 0}; // gap at offset 5
    b.at(16, kLineRow + 1) = Bgra{255, 255, 255, 0};
    const auto points = TraceRun(b, {5, 50}, kStartX, kStartY, kStartX + 22 * 15, kH);
    EXPECT_EQ(offsets(points), (std::vector<int>{0, 10, 15, 20}));
    for (const TracePoint& p : points)
        EXPECT_FLOAT_EQ(p.yt, kLineRow * 15.0f);
}

TEST(TraceRun, LostCurveIsFoundAgainFromTheLastRow)
{
    // The curve steps down 20 rows after a gap; the search resumes from row 40
    // and the window (range 50) reaches the new row.
    PixelBuffer b = whiteBuffer(kW, kH);
    hLine(b, kLineRow + 1, 0, 19);
    hLine(b, kLineRow + 21, 25, kW);
    const auto points = TraceRun(b, {1, 50}, kStartX, kStartY, kStartX + 30 * 15, kH);
    ASSERT_EQ(points.size(), 26u); // offsets 10..14 are the gap
    EXPECT_EQ(points[9].i, 9);
    EXPECT_FLOAT_EQ(points[9].yt, 40 * 15.0f);
    EXPECT_EQ(points[10].i, 15);
    EXPECT_FLOAT_EQ(points[10].yt, 60 * 15.0f);
}

TEST(TraceRun, XComesFromTheUnroundedStart)
{
    const PixelBuffer b = lineBuffer();
    const int start = 157; // 10.47 pixels: the columns examined are 10, 11, ...
    const auto points = TraceRun(b, {1, 50}, start, kStartY, start + 5 * 15, kH);
    ASSERT_EQ(points.size(), 6u);
    for (const TracePoint& p : points)
        EXPECT_FLOAT_EQ(p.xt, float(start + p.i * 15));
}

TEST(TraceRun, UnusableSettingsAndMarkersOffThePictureRecordNothingAndStaySafe)
{
    const PixelBuffer b = lineBuffer();
    const int end = kStartX + 10 * 15;
    EXPECT_TRUE(TraceRun(b, {0, 50}, kStartX, kStartY, end, kH).empty());
    EXPECT_TRUE(TraceRun(b, {-3, 50}, kStartX, kStartY, end, kH).empty());
    // An end line far beyond the picture stops at the buffer's last column.
    const auto wide = TraceRun(b, {1, 50}, kStartX, kStartY, INT_MAX, kH);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.back().i, kW - 10);
    // A start far outside the picture neither crashes nor finds anything.
    EXPECT_TRUE(TraceRun(b, {1, 50}, kStartX, INT_MAX, end, kH).empty());
    EXPECT_TRUE(TraceRun(b, {1, 50}, INT_MIN, kStartY, INT_MIN + 300, kH).empty());
}

// The curve's pixel rows, one dark pixel per column, gentle enough that each
// column holds exactly one pixel of it.
int curveRow(int column)
{
    return int(std::lround(60 + 25 * std::sin(column / 40.0)));
}

TEST(TraceRun, TracedPointMeetsAClickOnTheSamePixel)
{
    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int c = 0; c < picture.width(); ++c)
        picture.setPixel(c, curveRow(c), qRgb(0, 0, 0));
    PixelBuffer b;
    b.redim(picture.width(), picture.height());
    ASSERT_EQ(ReadPixels(picture, b), 0);

    // The start marker's centre lies inside the curve's pixel at column 5.
    const int startColumn = 5;
    const int startX = startColumn * 15 + 7;
    const int startY = curveRow(startColumn) * 15 + 7;
    const auto points = TraceRun(b, {5, 50}, startX, startY, 190 * 15, picture.height());

    ASSERT_EQ(points.size(), 37u); // offsets 0, 5, ..., 180
    for (const TracePoint& p : points) {
        const int column = startColumn + p.i;
        // A click on pixel (column, row) reports (column * 15, row * 15) twips.
        EXPECT_EQ(int(std::floor(p.xt / 15)), column);
        EXPECT_FLOAT_EQ(p.yt, float(curveRow(column) * 15)) << "column " << column;
    }
}

} // namespace
