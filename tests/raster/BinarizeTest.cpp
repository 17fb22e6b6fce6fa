#include "raster/Binarize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr quint32 colorValue(int red, int green, int blue)
{
    return quint32(red) | (quint32(green) << 8) | (quint32(blue) << 16);
}

bool isBlack(const Bgra& p) { return p.red == 0 && p.green == 0 && p.blue == 0; }
bool isWhite(const Bgra& p) { return p.red == 255 && p.green == 255 && p.blue == 255; }

TEST(BinarizePixelRule, turnsMatchingPixelsBlackAndTheRestWhite)
{
    struct Case { quint32 curve; float tolerance; int red, green, blue; bool black; };
    const Case cases[] = {
        // Tolerance 0: only the exact colour; 100: everything.
        {colorValue(10, 20, 30), 0, 10, 20, 30, true}, {colorValue(10, 20, 30), 0, 11, 20, 30, false},
        {colorValue(10, 20, 30), 0, 10, 19, 30, false}, {colorValue(10, 20, 30), 0, 10, 20, 31, false},
        {colorValue(0, 0, 0), 100, 255, 255, 255, true}, {colorValue(255, 255, 255), 100, 0, 0, 0, true},
        // 30 % of 255 is 76.5: 76 is in, 77 in any channel is out.
        {colorValue(0, 0, 0), 30, 76, 76, 76, true}, {colorValue(0, 0, 0), 30, 77, 0, 0, false},
        {colorValue(0, 0, 0), 30, 0, 77, 0, false}, {colorValue(0, 0, 0), 30, 0, 0, 77, false},
        // Only the blue upper limit is rounded: 123 + 76.5 = 199.5 -> 200.
        {colorValue(0, 0, 200), 30, 0, 0, 123, true}, {colorValue(0, 0, 200), 30, 0, 0, 122, false},
        {colorValue(0, 0, 200), 30, 0, 0, 124, true}, {colorValue(0, 0, 200), 30, 0, 0, 255, true},
        {colorValue(200, 0, 0), 30, 123, 0, 0, false}, {colorValue(0, 200, 0), 30, 0, 123, 0, false},
        {colorValue(200, 0, 0), 30, 124, 0, 0, true}};
    for (const Case& c : cases) {
        PixelBuffer buffer;
        buffer.redim(1, 1);
        buffer.at(0, 1) = Bgra{std::uint8_t(c.blue), std::uint8_t(c.green), std::uint8_t(c.red), 0x5a};
        BinarizePixels(buffer, {.curveColor = c.curve, .tolerancePercent = c.tolerance});
        const Bgra out = buffer.at(0, 1);
        EXPECT_TRUE(c.black ? isBlack(out) : isWhite(out))
            << std::hex << c.curve << std::dec << " at " << c.tolerance << "%: " << c.red << "," << c.green << "," << c.blue;
        EXPECT_EQ(out.reserved, 0x5a);
    }
}

// The whole-buffer routine gives exactly the per-pixel rule for any colour and
// tolerance, over every element, spare row and column included, of a buffer
// wide enough to span several column strips.
TEST(Binarize, wholeBufferAgreesWithThePixelRule)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    PixelBuffer original;
    original.redim(601, 37);
    for (int y = 0; y <= original.maxY(); ++y)
        for (int x = 0; x <= original.maxX(); ++x)
            original.at(x, y) = Bgra{std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), std::uint8_t(byte(rng)),
                                     std::uint8_t(byte(rng))};
    for (int tolerance = 0; tolerance <= 100; tolerance += 7) {
        const BinarizeSettings s{.curveColor = colorValue(byte(rng), byte(rng), byte(rng)), .tolerancePercent = float(tolerance)};
        PixelBuffer buffer = original;
        BinarizePixels(buffer, s);
        for (int y = 0; y <= buffer.maxY(); ++y)
            for (int x = 0; x <= buffer.maxX(); ++x) {
                const Bgra in = original.at(x, y), out = buffer.at(x, y);
                const bool black = BinarizeMatches(s, in.red, in.green, in.blue);
                ASSERT_TRUE((black ? isBlack(out) : isWhite(out)) && out.reserved == in.reserved)
                    << "tolerance " << tolerance << " at " << x << "," << y;
            }
    }
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
