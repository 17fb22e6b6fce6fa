#include "raster/AutoErase.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>

namespace {

using Shape = std::function<bool(int x, int y)>;

// A picture, 100 x 100 unless told, white but for the shapes drawn on it in order.
QImage drawn(const std::vector<std::pair<Shape, QRgb>>& shapes, QSize size = {100, 100})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (const auto& [inside, color] : shapes)
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (inside(x, y))
                    image.setPixel(x, y, color);
    return image;
}

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kBlue = qRgb(0, 0, 255);
const Shape all = [](int, int) { return true; };
Shape row(int y0) { return [=](int, int y) { return y == y0; }; }
Shape rowSpan(int y0, int x0, int n) { return [=](int x, int y) { return y == y0 && x >= x0 && x < x0 + n; }; }
Shape columnSpan(int x0, int y0, int n) { return [=](int x, int y) { return x == x0 && y >= y0 && y < y0 + n; }; }
const Shape curve = [](int x, int y) { return y == 20 + (x * x) / 150; };
const Shape grid = [](int x, int y) { return x % 45 == 5 || y % 45 == 5; };  // rows and columns 5, 50, 95

// Each picture is erased the way the command does it: read into a buffer
// dimensioned for it, erased, written back.
TEST(AutoErase, erasesOnlyLongDarkLines)
{
    const QImage white = drawn({});
    const std::tuple<const char*, QImage, QImage> cases[] = {
        // An average below 150 in every channel is dark; the spare row and column
        // of the buffer (zero, or a copy of another pixel) take no part.
        {"grey149", drawn({{all, qRgb(149, 149, 149)}}), white},
        {"grey150", drawn({{all, qRgb(150, 150, 150)}}), drawn({{all, qRgb(150, 150, 150)}})},
        // All three channels must be dark: pure blue stays, dark red goes.
        {"channelsJudgedTogether", drawn({{row(40), qRgb(0, 0, 255)}, {row(60), qRgb(140, 0, 0)}}),
         drawn({{row(40), qRgb(0, 0, 255)}})},
        // 30 full columns blacken 30 % of every row: the rows stay, the columns go.
        {"manyColumns", drawn({{[](int x, int) { return x % 3 == 1 && x < 90; }, kBlack}}), white},
        // A line is dark when fewer than 150 * 100 / 255 = 58.8 of its 100 pixels
        // are white: 42 black pixels erase it, 41 do not.
        {"row42Erased", drawn({{rowSpan(40, 10, 42), kBlack}}), white},
        {"row41Kept", drawn({{rowSpan(40, 10, 41), kBlack}}), drawn({{rowSpan(40, 10, 41), kBlack}})},
        {"column42Erased", drawn({{columnSpan(30, 10, 42), kBlack}}), white},
        {"column41Kept", drawn({{columnSpan(30, 10, 41), kBlack}}), drawn({{columnSpan(30, 10, 41), kBlack}})},
        // Crossed by a full-width line, the row pass whitens the crossing first,
        // leaving 41 dark pixels, so the column stays.
        {"columnJudgedAfterRowPass", drawn({{columnSpan(30, 10, 42), kBlack}, {row(30), kBlack}}),
         drawn({{columnSpan(30, 10, 42), kBlack}, {rowSpan(30, 30, 1), kWhite}})},
        // An erased row counts as white in every column however it looked before:
        // here a gap in that row sits on the column, which still goes.
        {"erasedRowCountsAsWhite",
         drawn({{columnSpan(30, 10, 42), kBlack}, {[](int x, int y) { return y == 80 && x != 30; }, kBlack}}), white},
        {"gridAroundCurve", drawn({{curve, kBlack}, {grid, kBlack}}), drawn({{curve, kBlack}, {grid, kWhite}})},
        // Wider than 1024 and taller than 256 pixels, where the blue sums of a
        // pure blue row and column no longer fit 16 bits.
        {"large", drawn({{curve, kBlack}, {row(150), kBlue}, {columnSpan(600, 0, 300), kBlue}, {grid, kBlack}}, {1100, 300}),
         drawn({{curve, kBlack}, {row(150), kBlue}, {columnSpan(600, 0, 300), kBlue}, {grid, kWhite}}, {1100, 300})},
    };
    for (const auto& [name, picture, expected] : cases) {
        SCOPED_TRACE(name);
        QImage out = picture;
        PixelBuffer buffer;
        buffer.redim(out.width(), out.height());
        ASSERT_EQ(ReadPixels(out, buffer), 0);
        AutoErasePixels(buffer);
        ASSERT_EQ(WritePixels(out, buffer), 0);
        EXPECT_EQ(out, expected);
    }
}

} // namespace
