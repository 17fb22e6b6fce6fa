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

BinarizeSettings settingsFor(quint32 color, float tolerance)
{
    BinarizeSettings s;
    s.curveColor = color;
    s.tolerancePercent = tolerance;
    return s;
}

bool isBlack(const Bgra& p) { return p.red == 0 && p.green == 0 && p.blue == 0; }
bool isWhite(const Bgra& p) { return p.red == 255 && p.green == 255 && p.blue == 255; }

struct PixelCase {
    const char* name;
    quint32 curve;
    float tolerance;
    int red, green, blue;
    bool black;
};

class BinarizePixelRule : public testing::TestWithParam<PixelCase> {};

TEST_P(BinarizePixelRule, turnsMatchingPixelsBlackAndTheRestWhite)
{
    const PixelCase& c = GetParam();
    PixelBuffer buffer;
    buffer.redim(1, 1);
    buffer.at(0, 1) = Bgra{std::uint8_t(c.blue), std::uint8_t(c.green), std::uint8_t(c.red), 0x5a};

    BinarizePixels(buffer, settingsFor(c.curve, c.tolerance));

    const Bgra out = buffer.at(0, 1);
    EXPECT_EQ(isBlack(out), c.black);
    EXPECT_EQ(isWhite(out), !c.black);
    EXPECT_EQ(out.reserved, 0x5a);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BinarizePixelRule,
    testing::Values(
        PixelCase{"exact0", colorValue(10, 20, 30), 0, 10, 20, 30, true},
        PixelCase{"redOff0", colorValue(10, 20, 30), 0, 11, 20, 30, false},
        PixelCase{"greenOff0", colorValue(10, 20, 30), 0, 10, 19, 30, false},
        PixelCase{"blueOff0", colorValue(10, 20, 30), 0, 10, 20, 31, false},
        PixelCase{"whiteAt100", colorValue(0, 0, 0), 100, 255, 255, 255, true},
        PixelCase{"blackAt100", colorValue(255, 255, 255), 100, 0, 0, 0, true},
        PixelCase{"black76", colorValue(0, 0, 0), 30, 76, 76, 76, true},
        PixelCase{"black77red", colorValue(0, 0, 0), 30, 77, 0, 0, false},
        PixelCase{"black77green", colorValue(0, 0, 0), 30, 0, 77, 0, false},
        PixelCase{"black77blue", colorValue(0, 0, 0), 30, 0, 0, 77, false},
        // Only the blue upper limit is rounded: 123 + 76.5 = 199.5 -> 200.
        PixelCase{"blue123", colorValue(0, 0, 200), 30, 0, 0, 123, true},
        PixelCase{"blue122", colorValue(0, 0, 200), 30, 0, 0, 122, false},
        PixelCase{"blue124", colorValue(0, 0, 200), 30, 0, 0, 124, true},
        PixelCase{"blueAbove", colorValue(0, 0, 200), 30, 0, 0, 255, true},
        PixelCase{"red123NotRounded", colorValue(200, 0, 0), 30, 123, 0, 0, false},
        PixelCase{"green123NotRounded", colorValue(0, 200, 0), 30, 0, 123, 0, false},
        PixelCase{"red124", colorValue(200, 0, 0), 30, 124, 0, 0, true}),
    [](const testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

// The whole-buffer routine must give exactly the per-pixel rule for any colour
// and tolerance, over a buffer wide enough to span several column strips.
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
        const BinarizeSettings s = settingsFor(colorValue(byte(rng), byte(rng), byte(rng)), float(tolerance));
        PixelBuffer buffer = original;
        BinarizePixels(buffer, s);
        for (int y = 0; y <= buffer.maxY(); ++y) {
            for (int x = 0; x <= buffer.maxX(); ++x) {
                const Bgra in = original.at(x, y);
                const Bgra out = buffer.at(x, y);
                const bool expectBlack = BinarizeMatches(s, in.red, in.green, in.blue);
                ASSERT_EQ(isBlack(out), expectBlack) << "tolerance " << tolerance << " at " << x << "," << y;
                ASSERT_EQ(isWhite(out), !expectBlack);
                ASSERT_EQ(out.reserved, in.reserved);
            }
        }
    }
}

TEST(Binarize, spareRowAndColumnTakePart)
{
    // A freshly dimensioned buffer is all zero; judged against white every
    // element, spare row 0 and spare column 4 included, turns white.
    PixelBuffer buffer;
    buffer.redim(4, 3);
    BinarizePixels(buffer, settingsFor(colorValue(255, 255, 255), 0));
    for (int y = 0; y <= 3; ++y)
        for (int x = 0; x <= 4; ++x)
            EXPECT_TRUE(isWhite(buffer.at(x, y))) << x << "," << y;
}

TEST(Binarize, reportsProgressInRisingColumnsEndingAtTheLast)
{
    PixelBuffer buffer;
    buffer.redim(700, 3);
    std::vector<int> seen;
    BinarizePixels(buffer, settingsFor(0, 30), [&](int x) { seen.push_back(x); });
    ASSERT_GE(seen.size(), 2u) << "the bar moves during the run, not only at its end";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.back(), 700);
}

} // namespace
