#include "trace/TraceRun.h"

#include "trace/TracePictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>
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
    darken(b, 0, kW, kLineRow + 1, kLineRow + 1);
    return b;
}

std::vector<int> offsets(const std::vector<TracePoint>& points)
{
    std::vector<int> out;
    for (const TracePoint& p : points)
        out.push_back(p.i);
    return out;
}

TEST(TraceRun, RecordsEveryFreqthColumnFromStartToEndLine)
{
    const PixelBuffer b = lineBuffer();
    // Interval, end line minus start (twips), the offsets recorded.
    const std::tuple<std::int16_t, int, std::vector<int>> spans[] = {
        {1, -1, {}}, // end line left of the start: nothing examined
        {1, 0, {0}},
        {1, 14, {0}}, // the bound is a real number: 14/15 < 1
        {1, 15, {0, 1}},
        {1, 44, {0, 1, 2}},
        {1, 45, {0, 1, 2, 3}},
        {5, 22 * 15, {0, 5, 10, 15, 20}},
        {7, 22 * 15, {0, 7, 14, 21}},
    };
    for (const auto& [freq, span, expected] : spans)
        EXPECT_EQ(offsets(TraceRun(b, {freq, 50}, kStartX, kStartY, kStartX + span, kH)), expected)
            << "freq " << freq << ", end - start = " << span;
}

TEST(TraceRun, ColumnWithoutCurveIsSkippedAndTheCurveFoundAgainFromTheLastRow)
{
    // A one-column gap at offset 10, then the curve 20 rows lower: the search
    // resumes from row 40 and the window (range 50) reaches the new row.
    PixelBuffer b = whiteBuffer(kW, kH);
    darken(b, 0, 19, kLineRow + 1, kLineRow + 1);
    darken(b, 21, kW, kLineRow + 21, kLineRow + 21);
    const auto points = TraceRun(b, {5, 50}, kStartX, kStartY, kStartX + 30 * 15, kH);
    EXPECT_EQ(offsets(points), (std::vector<int>{0, 5, 15, 20, 25, 30}));
    for (const TracePoint& p : points)
        EXPECT_FLOAT_EQ(p.yt, (p.i < 10 ? 40 : 60) * 15.0f) << p.i;
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
    EXPECT_TRUE(TraceRun(b, {1, 50}, kStartX, INT_MAX, end, kH).empty());
    EXPECT_TRUE(TraceRun(b, {1, 50}, INT_MIN, kStartY, INT_MIN + 300, kH).empty());
}

TEST(TraceRun, TracedPointMeetsAClickOnTheSamePixel)
{
    // One dark pixel per column, gentle enough that no column holds two.
    const auto curveRow = [](int column) { return int(std::lround(60 + 25 * std::sin(column / 40.0))); };
    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int c = 0; c < picture.width(); ++c)
        picture.setPixel(c, curveRow(c), qRgb(0, 0, 0));
    PixelBuffer b;
    b.redim(picture.width(), picture.height());
    ASSERT_EQ(ReadPixels(picture, b), 0);

    // The start marker's centre lies inside the curve's pixel at column 5; x
    // keeps the unrounded start, y is the row a click on the pixel reports.
    const int startColumn = 5, startX = startColumn * 15 + 7;
    const auto points = TraceRun(b, {5, 50}, startX, curveRow(startColumn) * 15 + 7, 190 * 15, picture.height());
    ASSERT_EQ(points.size(), 37u); // offsets 0, 5, ..., 180
    for (const TracePoint& p : points) {
        EXPECT_FLOAT_EQ(p.xt, float(startX + p.i * 15));
        EXPECT_FLOAT_EQ(p.yt, float(curveRow(startColumn + p.i) * 15)) << "column " << startColumn + p.i;
    }
}

} // namespace
