#include "calibration/AxisCalibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// Reference 1 at lower left, reference 2 at upper right, as on a plotted graph.
AxisCalibration cal(float x1, float x2, float y1, float y2, bool xLinear = true, bool yLinear = true)
{
    return {4, true, x1, x2, y1, y2, xLinear, yLinear, 1500, 6000, 7500, 1000};
}

TEST(AxisCalibration, ConvertsPositionsToAxisValues)
{
    const std::tuple<const char*, AxisCalibration, float, double> cases[] = {
        {"x linear between", cal(0, 100, 0, 0), 4500, 50},
        {"x linear beyond ref 2", cal(0, 100, 0, 0), 9000, 125},
        {"x linear before ref 1", cal(0, 100, 0, 0), 0, -25},
        {"x reversed", cal(100, 0, 0, 0), 3000, 75},
        {"x typed value at ref 1", cal(0.37f, 812.5f, 0, 0), 1500, 0.37f},
        {"x log at ref 2", cal(1, 1000, 0, 0, false), 7500, 1000},
        {"x log halfway", cal(1, 100, 0, 0, false), 4500, 10},
        {"x log before ref 1", cal(1, 100, 0, 0, false), -4500, 0.01},
        {"x log reversed", cal(100, 1, 0, 0, false), 3000, 31.6227766016838},
        // Single-precision arithmetic: t = 1/3 as a float, times 1e8 as a float.
        {"x single precision", {4, true, 0, 1e8f, 0, 0, true, true, 0, 0, 3, 0}, 1, 33333334.0},
        {"y linear at ref 1", cal(0, 0, 0, 50), 6000, 0},
        {"y linear between", cal(0, 0, 0, 50), 3500, 25},
        {"y linear below ref 1", cal(0, 0, 0, 50), 7000, -10},
        {"y reversed", cal(0, 0, 50, 0), 2000, 10},
        {"y log at ref 2", cal(0, 0, 1, 100, true, false), 1000, 100},
        {"y log halfway", cal(0, 0, 1, 100, true, false), 3500, 10},
        // The whole-twip reference makes the position arithmetic double precision.
        {"y double precision", {4, true, 0, 0, 0, 1e8f, true, true, 0, 3, 0, 0}, 1, 2e8 / 3},
    };
    for (const auto& [name, calibration, position, expected] : cases) {
        const auto value = name[0] == 'x' ? AxisValueFromX(calibration, position) : AxisValueFromY(calibration, position);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_NEAR(*value, expected, std::fabs(expected) * 1e-12 + 1e-12) << name;
    }
}

TEST(AxisCalibration, DegenerateOrInvalidCalibrationFails)
{
    const AxisCalibration sameSpot{4, true, 0, 100, 0, 100, true, true, 1500, 1000, 1500, 1000};
    EXPECT_FALSE(AxisValueFromX(sameSpot, 2000));
    EXPECT_FALSE(AxisValueFromX(sameSpot, 1500)); // 0/0 as well
    EXPECT_FALSE(AxisValueFromY(sameSpot, 2000));
    // Switched to log after values that only suit a linear axis.
    EXPECT_FALSE(AxisValueFromX(cal(0, 100, -5, 100, false, false), 2000));
    EXPECT_FALSE(AxisValueFromY(cal(0, 100, -5, 100, false, false), 2000));
    EXPECT_FALSE(AxisValueFromX(cal(-3e38f, 3e38f, 0, 0), 2000)); // float overflow
    EXPECT_FALSE(AxisValueFromX(cal(1, 1e30f, 0, 0, false), 1e9f));
    EXPECT_FALSE(AxisValueFromY(cal(0, 0, 1e-30f, 1, true, false), -1e9f));
}

TEST(AxisCalibration, CursorValueRoundsStoresOrKeepsPrevious)
{
    auto c = cal(0, 20000, -100, 100);
    c.effectiveFigure = 3;
    CursorValue x, y, never;
    updateCursorValueX(c, 1500 + 6000 * 0.617280f, x);
    updateCursorValueY(c, 3500, y); // exactly halfway: 0 stays the number 0
    EXPECT_EQ(x.text(), "1.23E4");
    EXPECT_TRUE(y.isNumber());
    EXPECT_EQ(y.text(), "0");

    // Both reference lines on one spot: the readout keeps its last value.
    c.refX2Pos = c.refX1Pos;
    c.refY1Pos = static_cast<float>(c.refY2Pos);
    updateCursorValueX(c, 4000, x);
    updateCursorValueY(c, 4000, y);
    updateCursorValueX(c, 4000, never);
    EXPECT_EQ(x.text(), "1.23E4");
    EXPECT_EQ(y.text(), "0");
    EXPECT_TRUE(never.isEmpty());
}

TEST(AxisCalibration, RoundToFiguresGivesNumberOrExponentText)
{
    const std::tuple<double, int, const char*> cases[] = {
        // Value, figures, what the readout and the data sheet show; exponent form is text.
        {12345.6, 3, "1.23E4"}, {0.000123456, 3, "1.23E-4"}, {-98765, 3, "-9.88E4"}, {12000, 3, "1.2E4"},
        {123.456, 3, "123"}, {0.0123456, 3, "0.0123"}, {-0.0123456, 3, "-0.0123"}, {9.996, 3, "10"},
        {99960, 3, "10E4"}, // the mantissa is not normalised again after rounding
        {0.5, 3, "0.5"}, {0.0, 3, "0"},
        // Halves go to the even digit.
        {25, 1, "20"}, {35, 1, "40"}, {250, 1, "2E2"}, {-25, 1, "-20"}, {12.5, 2, "12"}, {0.125, 2, "0.12"},
        {0.375, 2, "0.38"}, {0.0125, 2, "0.013"}, {12345, 4, "12340"}, {12355, 4, "12360"},
        {123456, 4, "1.235E5"}, {1234.5, 4, "1234"},
        // Decimal halves that binary cannot hold round by their true value: 1.005 is
        // 1.00499999999999989..., 0.0125 is 0.01250000000000000069...
        {1.005, 3, "1"}, {1.0051, 3, "1.01"},
        // The exponent is the truncated quotient of natural logarithms; for 1000 and 1e6
        // that quotient lands just below the whole number, leaving a mantissa of 10.
        {1000, 1, "10E2"}, {1000, 3, "1000"}, {1e6, 4, "10E5"}, {100, 1, "1E2"}, {0.001, 1, "1E-3"},
        {0.001, 3, "0.001"}, {1e-5, 4, "10E-6"},
        // Rounding that cannot be done leaves the value as it is.
        {123.456, 0, "123.456"}, {123.456, 5, "123.456"}, {4.9e-324, 3, "4.94E-324"},
    };
    for (const auto& [value, figures, shown] : cases) {
        const CursorValue rounded = RoundToFigures(value, figures);
        const bool isText = QString::fromLatin1(shown).contains('E');
        EXPECT_EQ(rounded.text().toStdString(), shown) << value << " F=" << figures;
        EXPECT_EQ(rounded.isNumber(), !isText) << value << " F=" << figures;
        if (!isText) {
            EXPECT_EQ(rounded.number(), QString::fromLatin1(shown).toDouble()) << value << " F=" << figures;
        }
    }
}

} // namespace
