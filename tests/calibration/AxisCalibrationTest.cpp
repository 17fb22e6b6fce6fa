#include "calibration/AxisCalibration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

AxisCalibration makeCalibration(float x1, float x2, float y1, float y2, bool xLinear = true,
                                bool yLinear = true)
{
    AxisCalibration c;
    c.effectiveFigure = 4;
    c.coordinatesSet = true;
    c.x1Value = x1;
    c.x2Value = x2;
    c.y1Value = y1;
    c.y2Value = y2;
    c.xLinear = xLinear;
    c.yLinear = yLinear;
    // Reference 1 at lower left, reference 2 at upper right, as on a plotted graph.
    c.refX1Pos = 1500;
    c.refX2Pos = 7500;
    c.refY1Pos = 6000;
    c.refY2Pos = 1000;
    return c;
}

struct ConversionCase {
    const char* name;
    AxisCalibration calibration;
    float position;
    double expected;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class AxisValueFromXTest : public ::testing::TestWithParam<ConversionCase> {};
class AxisValueFromYTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(AxisValueFromXTest, Converts)
{
    const auto value = AxisValueFromX(GetParam().calibration, GetParam().position);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, GetParam().expected, std::fabs(GetParam().expected) * 1e-12 + 1e-12);
}

TEST_P(AxisValueFromYTest, Converts)
{
    const auto value = AxisValueFromY(GetParam().calibration, GetParam().position);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, GetParam().expected, std::fabs(GetParam().expected) * 1e-12 + 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, AxisValueFromXTest,
    ::testing::Values(
        ConversionCase{"linear at ref 1", makeCalibration(0, 100, 0, 0), 1500, 0},
        ConversionCase{"linear at ref 2", makeCalibration(0, 100, 0, 0), 7500, 100},
        ConversionCase{"linear between", makeCalibration(0, 100, 0, 0), 4500, 50},
        ConversionCase{"linear beyond ref 2", makeCalibration(0, 100, 0, 0), 9000, 125},
        ConversionCase{"linear before ref 1", makeCalibration(0, 100, 0, 0), 0, -25},
        ConversionCase{"reversed axis", makeCalibration(100, 0, 0, 0), 3000, 75},
        ConversionCase{"typed value at ref 1", makeCalibration(0.37f, 812.5f, 0, 0), 1500, 0.37f},
        ConversionCase{"log at ref 1", makeCalibration(1, 1000, 0, 0, false), 1500, 1},
        ConversionCase{"log at ref 2", makeCalibration(1, 1000, 0, 0, false), 7500, 1000},
        ConversionCase{"log halfway", makeCalibration(1, 100, 0, 0, false), 4500, 10},
        ConversionCase{"log before ref 1", makeCalibration(1, 100, 0, 0, false), -4500, 0.01},
        ConversionCase{"log reversed", makeCalibration(100, 1, 0, 0, false), 3000, 31.6227766016838},
        // Single-precision arithmetic: t = 1/3 as a float, times 1e8 as a float.
        ConversionCase{"single precision", [] {
                           auto c = makeCalibration(0, 1e8f, 0, 0);
                           c.refX1Pos = 0;
                           c.refX2Pos = 3;
                           return c;
                       }(),
                       1, 33333334.0}));

INSTANTIATE_TEST_SUITE_P(
    Axes, AxisValueFromYTest,
    ::testing::Values(
        ConversionCase{"linear at ref 1", makeCalibration(0, 0, 0, 50), 6000, 0},
        ConversionCase{"linear at ref 2", makeCalibration(0, 0, 0, 50), 1000, 50},
        ConversionCase{"linear between", makeCalibration(0, 0, 0, 50), 3500, 25},
        ConversionCase{"linear below ref 1", makeCalibration(0, 0, 0, 50), 7000, -10},
        ConversionCase{"reversed axis", makeCalibration(0, 0, 50, 0), 2000, 10},
        ConversionCase{"log at ref 1", makeCalibration(0, 0, 1, 100, true, false), 6000, 1},
        ConversionCase{"log at ref 2", makeCalibration(0, 0, 1, 100, true, false), 1000, 100},
        ConversionCase{"log halfway", makeCalibration(0, 0, 1, 100, true, false), 3500, 10},
        // The whole-twip reference makes the position arithmetic double precision.
        ConversionCase{"double precision", [] {
                           auto c = makeCalibration(0, 0, 0, 1e8f);
                           c.refY1Pos = 3;
                           c.refY2Pos = 0;
                           return c;
                       }(),
                       1, 2e8 / 3}));

TEST(AxisValueFailureTest, DegenerateOrInvalidCalibrationFails)
{
    auto sameSpot = makeCalibration(0, 100, 0, 100);
    sameSpot.refX2Pos = sameSpot.refX1Pos;
    sameSpot.refY1Pos = static_cast<float>(sameSpot.refY2Pos);
    EXPECT_FALSE(AxisValueFromX(sameSpot, 2000));
    EXPECT_FALSE(AxisValueFromX(sameSpot, sameSpot.refX1Pos));  // 0/0 as well
    EXPECT_FALSE(AxisValueFromY(sameSpot, 2000));

    // Switched to log after values that only suit a linear axis.
    const auto logOfZero = makeCalibration(0, 100, -5, 100, false, false);
    EXPECT_FALSE(AxisValueFromX(logOfZero, 2000));
    EXPECT_FALSE(AxisValueFromY(logOfZero, 2000));

    EXPECT_FALSE(AxisValueFromX(makeCalibration(-3e38f, 3e38f, 0, 0), 2000));  // float overflow
    EXPECT_FALSE(AxisValueFromX(makeCalibration(1, 1e30f, 0, 0, false), 1e9f));
    EXPECT_FALSE(AxisValueFromY(makeCalibration(0, 0, 1e-30f, 1, true, false), -1e9f));
}

TEST(UpdateCursorValueTest, RoundsStoresOrKeepsPrevious)
{
    auto c = makeCalibration(0, 20000, -100, 100);
    c.effectiveFigure = 3;
    CursorValue x;
    CursorValue y;
    updateCursorValueX(c, 1500 + 6000 * 0.617280f, x);
    EXPECT_EQ(x.text(), "1.23E4");
    updateCursorValueY(c, 3500, y);  // exactly halfway: 0 stays the number 0
    EXPECT_TRUE(y.isNumber());
    EXPECT_EQ(y.text(), "0");

    // Both reference lines on one spot: the readout keeps its last value.
    c.refX2Pos = c.refX1Pos;
    updateCursorValueX(c, 4000, x);
    EXPECT_EQ(x.text(), "1.23E4");
    c.refY1Pos = static_cast<float>(c.refY2Pos);
    updateCursorValueY(c, 4000, y);
    EXPECT_EQ(y.text(), "0");

    CursorValue never;
    updateCursorValueX(c, 4000, never);
    EXPECT_TRUE(never.isEmpty());
}

TEST(IndicatorImageTest, TellsTheFourScaleCombinationsApart)
{
    AxisCalibration c;
    EXPECT_EQ(indicatorImage(c), 8);
    c.yLinear = false;
    EXPECT_EQ(indicatorImage(c), 9);
    c.xLinear = false;
    c.yLinear = true;
    EXPECT_EQ(indicatorImage(c), 10);
    c.yLinear = false;
    EXPECT_EQ(indicatorImage(c), 11);
}

}  // namespace
