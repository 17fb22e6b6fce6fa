#include "raster/Binarize.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Swatch { int red, green, blue; bool black; };

// A picture of the swatches side by side, repeated over several rows so that
// each one is reached at every place of the sweep, binarised the way the
// command does it; the result compared pixel by pixel with what the user must see.
void expectBinarised(QRgb curve, float tolerance, const std::vector<Swatch>& swatches)
{
    const int w = int(swatches.size()), h = 7;
    QImage picture(w, h, QImage::Format_RGB32), expected(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Swatch& s = swatches[std::size_t(x)];
            picture.setPixel(x, y, qRgb(s.red, s.green, s.blue));
            expected.setPixel(x, y, s.black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(picture, buffer), 0);
    const quint32 colorValue = quint32(qRed(curve)) | quint32(qGreen(curve)) << 8 | quint32(qBlue(curve)) << 16;
    BinarizePixels(buffer, {.curveColor = colorValue, .tolerancePercent = tolerance});
    ASSERT_EQ(WritePixels(picture, buffer), 0);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            EXPECT_EQ(picture.pixel(x, y), expected.pixel(x, y))
                << "curve " << std::hex << curve << std::dec << " at " << tolerance << "%, swatch " << x;
}

TEST(Binarize, pixelsNearTheCurveColourTurnBlackTheRestWhite)
{
    // Tolerance 0: only the exact colour; 100 %: everything.
    expectBinarised(qRgb(10, 20, 30), 0, {{10, 20, 30, true}, {11, 20, 30, false}, {10, 19, 30, false},
                                          {10, 20, 31, false}, {9, 20, 30, false}});
    expectBinarised(qRgb(0, 0, 0), 100, {{255, 255, 255, true}, {0, 0, 0, true}, {128, 7, 255, true}});
    // 30 % of 255 is 76.5: against black, 76 in every channel is in, 77 in any is out.
    expectBinarised(qRgb(0, 0, 0), 30, {{76, 76, 76, true}, {77, 0, 0, false}, {0, 77, 0, false},
                                        {0, 0, 77, false}, {40, 60, 20, true}});
    // Only the blue upper limit B + 76.5 is rounded, halves to even: 122 + 76.5
    // gives 198, 123 + 76.5 gives 200. Below the curve's blue, an odd blue
    // passes 77 away and an even one only 76.
    expectBinarised(qRgb(0, 0, 200), 30, {{0, 0, 123, true}, {0, 0, 122, false}, {0, 0, 124, true},
                                          {0, 0, 255, true}, {0, 0, 277 - 200, false}});
    expectBinarised(qRgb(0, 0, 199), 30, {{0, 0, 122, false}, {0, 0, 123, true}, {0, 0, 121, false}});
    expectBinarised(qRgb(0, 0, 198), 30, {{0, 0, 122, true}, {0, 0, 121, true}, {0, 0, 120, false}});
    // Red and green are not rounded: 123.5 is short of 200.
    expectBinarised(qRgb(200, 200, 0), 30, {{123, 200, 0, false}, {200, 123, 0, false}, {124, 124, 0, true}});
}

TEST(Binarize, reportsProgressInRisingColumnsEndingAtTheLast)
{
    PixelBuffer buffer;
    buffer.redim(700, 3);
    std::vector<int> seen;
    BinarizePixels(buffer, {.curveColor = 0, .tolerancePercent = 30}, [&](int x) { seen.push_back(x); });
    ASSERT_GE(seen.size(), 2u) << "the bar moves during the run, not only at its end";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.back(), 700);
}

} // namespace
