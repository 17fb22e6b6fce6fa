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
Shape row(int y0) { return [=](int, int y) { return y == y0; }; }
Shape rowSpan(int y0, int x0, int n) { return [=](int x, int y) { return y == y0 && x >= x0 && x < x0 + n; }; }
Shape columnSpan(int x0, int y0, int n) { return [=](int x, int y) { return x == x0 && y >= y0 && y < y0 + n; }; }
const Shape curve = [](int x, int y) { return y == 20 + (x * x) / 150; };
const Shape grid = [](int x, int y) { return x % 45 == 5 || y % 45 == 5; };  // rows and columns 5, 50, 95

// Each picture is erased the way the command does it: read into a buffer
// W x H, erased with the canvas divisors, written back.
TEST(AutoErasePicture, erasesOnlyLongDarkLines)
{
    const QImage white = drawn({});
    const std::tuple<const char*, QImage, QImage> cases[] = {
        // All three channels must be dark: pure blue stays, dark red goes.
        {"channelsJudgedTogether", drawn({{row(40), qRgb(0, 0, 255)}, {row(60), qRgb(140, 0, 0)}}),
         drawn({{row(40), qRgb(0, 0, 255)}})},
        // 30 full columns blacken 30 % of every row: the rows stay, the columns go.
        {"manyColumns", drawn({{[](int x, int) { return x % 3 == 1 && x < 90; }, kBlack}}), white},
        // A row holds 101 values, the 100 picture pixels and the spare one (white
        // here). It is dark when fewer than 150 * 101 / 255 = 59.4 of them are white:
        // 42 black pixels (41.6 %) erase it, 41 (40.6 %) do not.
        {"row42of101Erased", drawn({{rowSpan(40, 10, 42), kBlack}}), white},
        {"row41of101Kept", drawn({{rowSpan(40, 10, 41), kBlack}}), drawn({{rowSpan(40, 10, 41), kBlack}})},
        // Columns likewise, with the spare row's (white after the row pass) value.
        {"column42of101Erased", drawn({{columnSpan(30, 10, 42), kBlack}}), white},
        {"column41of101Kept", drawn({{columnSpan(30, 10, 41), kBlack}}), drawn({{columnSpan(30, 10, 41), kBlack}})},
        // Crossed by a full-width line, the row pass whitens the crossing first,
        // leaving 41 dark pixels, so the column stays.
        {"columnJudgedAfterRowPass", drawn({{columnSpan(30, 10, 42), kBlack}, {row(30), kBlack}}),
         drawn({{columnSpan(30, 10, 42), kBlack}, {rowSpan(30, 30, 1), kWhite}})},
        // An erased row counts once, as white, in every column however it looked
        // before: here a gap in that row sits on the column, which still goes.
        {"erasedRowCountsOnceInColumns",
         drawn({{columnSpan(30, 10, 42), kBlack}, {[](int x, int y) { return y == 80 && x != 30; }, kBlack}}), white},
        // Grid: every full line goes, the curve between them stays.
        {"gridAroundCurve", drawn({{curve, kBlack}, {grid, kBlack}}), drawn({{curve, kBlack}, {grid, kWhite}})},
    };
    for (const auto& [name, picture, expected] : cases) {
        SCOPED_TRACE(name);
        QImage out = picture;
        PixelBuffer buffer;
        buffer.redim(100, 100);
        ASSERT_EQ(ReadPixels(out, buffer), 0);
        AutoErasePixels(buffer, 101.0f, 101.0f);
        ASSERT_EQ(WritePixels(out, buffer), 0);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                ASSERT_EQ(out.pixel(x, y) & 0xffffffu, expected.pixel(x, y) & 0xffffffu) << x << "," << y;
    }
}

TEST(AutoErase, darknessIsStrictlyBelow150OverTheGivenDivisor)
{
    // The whole extent, spare row and column included, holds the same grey, so
    // each line sums to grey * 21 over a divisor of 21 (+ extra).
    for (const auto& [grey, extra, erased] : {std::tuple{149, 0.0f, true}, std::tuple{150, 0.0f, false},
                                              std::tuple{150, 0.5f, true}, std::tuple{151, 0.1f, false}}) {
        PixelBuffer buffer;
        buffer.redim(20, 20);
        for (int y = 0; y <= 20; ++y)
            for (int x = 0; x <= 20; ++x)
                buffer.at(x, y) = Bgra{std::uint8_t(grey), std::uint8_t(grey), std::uint8_t(grey), 7};
        AutoErasePixels(buffer, 21.0f + extra, 21.0f + extra);
        const int expected = erased ? 255 : grey;
        for (int y = 0; y <= 20; ++y)
            for (int x = 0; x <= 20; ++x) {
                const Bgra p = buffer.at(x, y);
                ASSERT_TRUE(p.red == expected && p.green == expected && p.blue == expected && p.reserved == 7)
                    << grey << " +" << extra << " at " << x << "," << y;
            }
    }
}

// The plain definition, rows then columns over the whole extent, for comparison
// on large random pictures (beyond the batch sizes the real routine uses
// internally). Returns the numbers of rows and columns erased.
std::pair<int, int> referenceAutoErase(PixelBuffer& b, float rowDivisor, float columnDivisor)
{
    const int w = b.maxX() + 1, h = b.maxY() + 1;
    int erased[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        const double divisor = pass ? columnDivisor : rowDivisor;
        for (int line = 0; line < (pass ? w : h); ++line) {
            auto at = [&](int i) -> Bgra& { return pass ? b.at(line, i) : b.at(i, line); };
            double r = 0, g = 0, bl = 0;
            for (int i = 0; i < (pass ? h : w); ++i) {
                r += at(i).red;
                g += at(i).green;
                bl += at(i).blue;
            }
            if (r / divisor < 150 && g / divisor < 150 && bl / divisor < 150) {
                ++erased[pass];
                for (int i = 0; i < (pass ? h : w); ++i)
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
    for (const auto& [w, h] : {std::pair{600, 530}, std::pair{257, 1100}}) {
        // Most lines are light, some near the 41 % edge, some solid; coloured
        // noise on top.
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
        const auto [rows, columns] = referenceAutoErase(expected, float(w) + 1, float(h) + 1);
        EXPECT_GT(rows, 10);
        EXPECT_GT(columns, 10);
        AutoErasePixels(buffer, float(w) + 1, float(h) + 1);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) {
                const Bgra a = buffer.at(x, y), e = expected.at(x, y);
                ASSERT_TRUE(a.red == e.red && a.green == e.green && a.blue == e.blue) << x << "," << y;
            }
    }
}

} // namespace
