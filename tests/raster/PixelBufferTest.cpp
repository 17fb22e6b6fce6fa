// The pixel buffer and the whole-picture edits made on it, each run as the
// commands run it: the picture read into a buffer dimensioned for it, edited,
// written back.
#include "raster/AutoErase.h"
#include "raster/Binarize.h"
#include "raster/PixelBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace {

QImage edited(QImage picture, const std::function<void(PixelBuffer&)>& edit)
{
    PixelBuffer buffer;
    buffer.redim(picture.width(), picture.height());
    EXPECT_EQ(ReadPixels(picture, buffer), 0);
    edit(buffer);
    EXPECT_EQ(WritePixels(picture, buffer), 0);
    return picture;
}

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kBlue = qRgb(0, 0, 255);

// Reading maps picture rows one down; row 0 is zero and the spare column
// repeats the first pixel of the row above (zero for the top row), also in a
// reused buffer. Writing carries only picture elements back, and opaque.
TEST(PixelBuffer, ReadMapsRowsOneDownAndWriteCarriesOnlyThePictureBack)
{
    // Picture and buffer sizes: a single pixel, single rows and columns, odd widths, a larger buffer.
    for (const auto& [picture, dims] : {std::pair{QSize(1, 1), QSize(1, 1)}, {QSize(1, 7), QSize(1, 7)},
                                        {QSize(9, 1), QSize(9, 1)}, {QSize(13, 5), QSize(13, 5)}, {QSize(5, 4), QSize(8, 6)}}) {
        const int w = picture.width(), h = picture.height();
        SCOPED_TRACE(testing::Message() << w << "x" << h << " in " << dims.width() << "x" << dims.height());
        QImage image(picture, QImage::Format_RGB32);
        std::mt19937 noise(1);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, 0xff000000u | (noise() & 0xffffffu));
        const auto expectedAt = [&](int x, int y) -> QRgb {
            if (y >= 1 && y <= h && x <= w)
                return x < w ? image.pixel(x, y - 1) : y >= 2 ? image.pixel(0, y - 2) : 0;
            return 0;
        };
        QImage expected = image.copy();
        expected.setPixel(w - 1, h - 1, qRgb(0x30, 0x20, 0x10));
        PixelBuffer buffer;
        buffer.redim(dims.width(), dims.height());
        for (int pass = 0; pass < 2; ++pass) { // the second time in a reused buffer
            ASSERT_EQ(ReadPixels(image, buffer), 0);
            for (int y = 0; y <= dims.height(); ++y)
                for (int x = 0; x <= dims.width(); ++x) {
                    const Bgra& b = buffer.at(x, y);
                    ASSERT_EQ(qRgba(b.red, b.green, b.blue, b.reserved), expectedAt(x, y)) << x << "," << y;
                }
            for (int y = 0; y <= dims.height(); ++y)
                for (int x = 0; x <= dims.width(); ++x)
                    if (y == 0 || x >= w)
                        buffer.at(x, y) = Bgra{1, 2, 3, 4};
            buffer.at(w - 1, h) = Bgra{0x10, 0x20, 0x30, 0x00}; // reserved byte as an editor may leave it
            ASSERT_EQ(WritePixels(image, buffer), 0);
            EXPECT_EQ(image, expected);
            buffer.redim(dims.width(), dims.height());
        }
    }
}

TEST(Binarize, PixelsNearTheCurveColourTurnBlackTheRestWhite)
{
    struct Swatch { int red, green, blue; bool black; };
    const std::tuple<QRgb, float, std::vector<Swatch>> cases[] = {
        // Tolerance 0: only the exact colour; 100 %: everything.
        {qRgb(10, 20, 30), 0, {{10, 20, 30, true}, {11, 20, 30, false}, {10, 19, 30, false}, {10, 20, 31, false}, {9, 20, 30, false}}},
        {qRgb(0, 0, 0), 100, {{255, 255, 255, true}, {0, 0, 0, true}, {128, 7, 255, true}}},
        // 30 % of 255 is 76.5: against black, 76 in every channel is in, 77 in any is out.
        {qRgb(0, 0, 0), 30, {{76, 76, 76, true}, {77, 0, 0, false}, {0, 77, 0, false}, {0, 0, 77, false}, {40, 60, 20, true}}},
        // Only the blue upper limit B + 76.5 is rounded, halves to even: 122 + 76.5
        // gives 198, 123 + 76.5 gives 200. Below the curve's blue, an odd blue
        // passes 77 away and an even one only 76.
        {qRgb(0, 0, 200), 30, {{0, 0, 123, true}, {0, 0, 122, false}, {0, 0, 124, true}, {0, 0, 255, true}, {0, 0, 77, false}}},
        {qRgb(0, 0, 199), 30, {{0, 0, 122, false}, {0, 0, 123, true}, {0, 0, 121, false}}},
        {qRgb(0, 0, 198), 30, {{0, 0, 122, true}, {0, 0, 121, true}, {0, 0, 120, false}}},
        // Red and green are not rounded: 123.5 is short of 200.
        {qRgb(200, 200, 0), 30, {{123, 200, 0, false}, {200, 123, 0, false}, {124, 124, 0, true}}},
    };
    for (const auto& [curve, tolerance, swatches] : cases) {
        // Each swatch down several rows, so that it is reached at every place of the sweep.
        QImage picture(int(swatches.size()), 7, QImage::Format_RGB32);
        for (int x = 0; x < picture.width(); ++x)
            for (int y = 0; y < picture.height(); ++y)
                picture.setPixel(x, y, qRgb(swatches[x].red, swatches[x].green, swatches[x].blue));
        const quint32 colour = quint32(qRed(curve)) | quint32(qGreen(curve)) << 8 | quint32(qBlue(curve)) << 16;
        const BinarizeSettings settings{.curveColor = colour, .tolerancePercent = tolerance};
        const QImage out = edited(picture, [&](PixelBuffer& b) { BinarizePixels(b, settings); });
        // Straight on the picture: the same, in place or, where the picture is shared, into a new one.
        for (const bool shared : {false, true}) {
            QImage direct = picture.copy();
            const QImage other = shared ? direct : QImage();
            ASSERT_TRUE(BinarizeImage(direct, settings));
            EXPECT_EQ(direct, out);
            EXPECT_TRUE(!shared || other == picture) << "the other holder keeps the picture before";
        }
        for (int x = 0; x < out.width(); ++x)
            for (int y = 0; y < out.height(); ++y)
                EXPECT_EQ(out.pixel(x, y), swatches[x].black ? kBlack : kWhite)
                    << "curve " << std::hex << curve << std::dec << " at " << tolerance << "%, swatch " << x << ", row " << y;
    }
    // Random pictures, translucent ones too, of widths that leave a tail after
    // four pixels at a time: straight on the picture gives what the buffer gives.
    std::mt19937 rng(3);
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(33, 9)}) {
            QImage picture(size, format);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    picture.setPixel(x, y, format == QImage::Format_RGB32 ? (rng() | 0xff000000u) : quint32(rng()));
            const BinarizeSettings settings{.curveColor = quint32(rng() & 0xffffffu), .tolerancePercent = float(rng() % 101)};
            QImage direct = picture;
            ASSERT_TRUE(BinarizeImage(direct, settings));
            EXPECT_EQ(direct, edited(picture, [&](PixelBuffer& b) { BinarizePixels(b, settings); })) << size.width();
        }
    }
    QImage indexed(5, 5, QImage::Format_Indexed8);
    EXPECT_FALSE(BinarizeImage(indexed, {})) << "left to the buffer's way";

    // The progress bar moves during the run, in rising columns, ending at the last.
    for (const bool onPicture : {false, true}) {
        std::vector<int> seen;
        const auto note = [&](int x) { seen.push_back(x); };
        PixelBuffer wide;
        wide.redim(700, 3);
        QImage picture(700, 3, QImage::Format_RGB32);
        if (onPicture)
            BinarizeImage(picture, {}, note);
        else
            BinarizePixels(wide, {}, note);
        EXPECT_GE(seen.size(), 2u);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) && std::adjacent_find(seen.begin(), seen.end()) == seen.end());
        EXPECT_EQ(seen.back(), 700);
    }
}

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

TEST(AutoErase, ErasesOnlyLongDarkLines)
{
    const Shape all = [](int, int) { return true; };
    const auto row = [](int y0) -> Shape { return [=](int, int y) { return y == y0; }; };
    const auto rowSpan = [](int y0, int x0, int n) -> Shape { return [=](int x, int y) { return y == y0 && x >= x0 && x < x0 + n; }; };
    const auto columnSpan = [](int x0, int y0, int n) -> Shape { return [=](int x, int y) { return x == x0 && y >= y0 && y < y0 + n; }; };
    const Shape curve = [](int x, int y) { return y == 20 + (x * x) / 150; };
    const Shape grid = [](int x, int y) { return x % 45 == 5 || y % 45 == 5; }; // rows and columns 5, 50, 95
    const QImage white = drawn({});
    const std::tuple<const char*, QImage, QImage> cases[] = {
        // An average below 150 in every channel is dark; the spare row and column
        // of the buffer (zero, or a copy of another pixel) take no part.
        {"grey 149", drawn({{all, qRgb(149, 149, 149)}}), white},
        {"grey 150", drawn({{all, qRgb(150, 150, 150)}}), drawn({{all, qRgb(150, 150, 150)}})},
        // All three channels must be dark: pure blue stays, dark red goes.
        {"channels together", drawn({{row(40), kBlue}, {row(60), qRgb(140, 0, 0)}}), drawn({{row(40), kBlue}})},
        // 30 full columns blacken 30 % of every row: the rows stay, the columns go.
        {"many columns", drawn({{[](int x, int) { return x % 3 == 1 && x < 90; }, kBlack}}), white},
        // A line is dark when fewer than 150 * 100 / 255 = 58.8 of its 100 pixels
        // are white: 42 black pixels erase it, 41 do not.
        {"row of 42", drawn({{rowSpan(40, 10, 42), kBlack}}), white},
        {"row of 41", drawn({{rowSpan(40, 10, 41), kBlack}}), drawn({{rowSpan(40, 10, 41), kBlack}})},
        {"column of 42", drawn({{columnSpan(30, 10, 42), kBlack}}), white},
        {"column of 41", drawn({{columnSpan(30, 10, 41), kBlack}}), drawn({{columnSpan(30, 10, 41), kBlack}})},
        // Crossed by a full-width line, the row pass whitens the crossing first,
        // leaving 41 dark pixels, so the column stays.
        {"columns after rows", drawn({{columnSpan(30, 10, 42), kBlack}, {row(30), kBlack}}),
         drawn({{columnSpan(30, 10, 42), kBlack}, {rowSpan(30, 30, 1), kWhite}})},
        // An erased row counts as white in every column however it looked before.
        {"erased row is white", drawn({{columnSpan(30, 10, 42), kBlack}, {[](int x, int y) { return y == 80 && x != 30; }, kBlack}}), white},
        {"grid around a curve", drawn({{curve, kBlack}, {grid, kBlack}}), drawn({{curve, kBlack}, {grid, kWhite}})},
        // Wider than 1024 and taller than 256 pixels, where the blue sums of a
        // pure blue row and column no longer fit 16 bits.
        {"large", drawn({{curve, kBlack}, {row(150), kBlue}, {columnSpan(600, 0, 300), kBlue}, {grid, kBlack}}, {1100, 300}),
         drawn({{curve, kBlack}, {row(150), kBlue}, {columnSpan(600, 0, 300), kBlue}, {grid, kWhite}}, {1100, 300})},
    };
    for (const auto& [name, picture, expected] : cases)
        EXPECT_EQ(edited(picture, AutoErasePixels), expected) << name;
}

} // namespace
