#include "raster/AutoErase.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using Shape = std::function<bool(int x, int y)>;

// A 100 x 100 picture, white but for the shapes drawn on it in order.
QImage drawn(const std::vector<std::pair<Shape, QRgb>>& shapes)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (const auto& [inside, color] : shapes)
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (inside(x, y))
                    image.setPixel(x, y, color);
    return image;
}

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);
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
    };
    for (const auto& [name, picture, expected] : cases) {
        SCOPED_TRACE(name);
        QImage out = picture;
        PixelBuffer buffer;
        buffer.redim(100, 100);
        ASSERT_EQ(ReadPixels(out, buffer), 0);
        AutoErasePixels(buffer);
        ASSERT_EQ(WritePixels(out, buffer), 0);
        EXPECT_EQ(out, expected);
    }
}

// The plain definition, rows then columns over the picture, for comparison on
// large random pictures (beyond the batch sizes the real routine uses
// internally). Returns the numbers of rows and columns erased.
std::pair<int, int> referenceAutoErase(PixelBuffer& b)
{
    const int w = b.maxX(), h = b.maxY();
    int erased[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        for (int line = 0; line < (pass ? w : h); ++line) {
            auto at = [&](int i) -> Bgra& { return pass ? b.at(line, i + 1) : b.at(i, line + 1); };
            const int n = pass ? h : w;
            double r = 0, g = 0, bl = 0;
            for (int i = 0; i < n; ++i) {
                r += at(i).red;
                g += at(i).green;
                bl += at(i).blue;
            }
            if (r / n < 150 && g / n < 150 && bl / n < 150) {
                ++erased[pass];
                for (int i = 0; i < n; ++i)
                    at(i).red = at(i).green = at(i).blue = 255;
            }
        }
    }
    return {erased[0], erased[1]};
}

TEST(AutoErase, largePicturesMatchTheTwoPassDefinition)
{
    std::mt19937 rng(777);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> byte(0, 255);
    // Wider than 1024 pixels and taller than 256 rows, where sums stop fitting 16 bits.
    for (const auto& [w, h] : {std::pair{1100, 300}, std::pair{257, 1100}}) {
        // Most lines light, some near the 41 % edge, some solid; coloured noise on top.
        auto share = [&] {
            const double u = unit(rng);
            return u < 0.7 ? 0.02 : u < 0.9 ? 0.36 + 0.2 * unit(rng) : 0.9;
        };
        std::vector<double> rowShare(std::size_t(h) + 1), columnShare(std::size_t(w) + 1);
        std::generate(rowShare.begin(), rowShare.end(), share);
        std::generate(columnShare.begin(), columnShare.end(), share);
        PixelBuffer buffer;
        buffer.redim(w, h);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) {
                const double u = unit(rng);
                buffer.at(x, y) = u < 0.05 ? Bgra{std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), 0}
                                  : u < std::max(rowShare[std::size_t(y)], columnShare[std::size_t(x)]) ? Bgra{0, 0, 0, 0}
                                                                                                        : Bgra{255, 255, 255, 0};
            }
        PixelBuffer expected = buffer;
        const auto [rows, columns] = referenceAutoErase(expected);
        EXPECT_GT(rows, 10);
        EXPECT_GT(columns, 10);
        AutoErasePixels(buffer);
        for (int y = 1; y <= h; ++y)
            for (int x = 0; x < w; ++x) {
                const Bgra a = buffer.at(x, y), e = expected.at(x, y);
                ASSERT_TRUE(a.red == e.red && a.green == e.green && a.blue == e.blue) << x << "," << y;
            }
    }
}

} // namespace
