#include "calibration/ReferenceInput.h"

#include <gtest/gtest.h>

namespace {

struct InputCase {
    const char* name;
    ReferenceTexts texts;
    bool xLinear;
    bool yLinear;
    QString message;  // empty: accepted
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

ReferenceTexts texts(const char* x1, const char* y1, const char* x2, const char* y2,
                     const char* figures)
{
    return {QString::fromUtf8(x1), QString::fromUtf8(y1), QString::fromUtf8(x2),
            QString::fromUtf8(y2), QString::fromUtf8(figures)};
}

class ReferenceInputTest : public ::testing::TestWithParam<InputCase> {};

TEST_P(ReferenceInputTest, AcceptsOrGivesFirstProblem)
{
    const auto& c = GetParam();
    const ReferenceCheck check = checkReferenceInput(c.texts, c.xLinear, c.yLinear);
    EXPECT_EQ(check.message.toStdString(), c.message.toStdString());
    EXPECT_EQ(check.accepted(), c.message.isEmpty());
}

const QString kOk;

INSTANTIATE_TEST_SUITE_P(
    Table, ReferenceInputTest,
    ::testing::Values(
        InputCase{"defaults", texts("0", "0", "100", "100", "4"), true, true, kOk},
        InputCase{"x log with 0", texts("0", "1", "100", "100", "4"), false, true, kMessageLogNotPositive},
        InputCase{"same values, x linear", texts("0", "1", "100", "100", "4"), true, true, kOk},
        InputCase{"y log with negative", texts("1", "1", "100", "-5", "4"), true, false, kMessageLogNotPositive},
        InputCase{"y log checked after x", texts("1", "1", "100", "-5", "9"), false, false, kMessageLogNotPositive},
        InputCase{"log refuses what single precision makes 0", texts("1e-50", "1", "10", "10", "4"), false, true, kMessageLogNotPositive},
        InputCase{"figures 0", texts("0", "0", "100", "100", "0"), true, true, kMessageFigures},
        InputCase{"figures 5", texts("0", "0", "100", "100", "5"), true, true, kMessageFigures},
        InputCase{"figures 2.5", texts("0", "0", "100", "100", "2.5"), true, true, kMessageFigures},
        InputCase{"figures empty", texts("0", "0", "100", "100", ""), true, true, kMessageFigures},
        InputCase{"figures 3.0", texts("0", "0", "100", "100", "3.0"), true, true, kOk},
        InputCase{"figures letters", texts("0", "0", "100", "100", "abc"), true, true, kMessageInvalid},
        InputCase{"y2 empty", texts("0", "0", "100", "", "4"), true, true, kMessageEmpty},
        InputCase{"empty wins over letters", texts("abc", "0", "100", "", "4"), true, true, kMessageEmpty},
        InputCase{"x1 letters", texts("abc", "0", "100", "100", "4"), true, true, kMessageInvalid},
        // A conversion failure on x wins over the log check on y.
        InputCase{"x failure before y log", texts("abc", "0", "100", "100", "4"), true, false, kMessageInvalid},
        InputCase{"x beyond double range", texts("1e400", "0", "100", "100", "4"), true, true, kMessageInvalid},
        InputCase{"y beyond single range", texts("0", "0", "100", "1e39", "4"), true, true, kMessageInvalid},
        // Figures are checked before the single-precision range.
        InputCase{"range after figures", texts("0", "0", "100", "1e39", "7"), true, true, kMessageFigures},
        InputCase{"blanks and exponents", texts(" 1e1 ", "-2.5", "+1E+3", ".5", " 2 "), true, true, kOk}));

TEST(ReferenceInputValuesTest, StoresSinglePrecisionValues)
{
    const ReferenceCheck check =
        checkReferenceInput(texts("0.1", "-2", "3.4028234e38", "1e-3", "3"), true, true);
    ASSERT_TRUE(check.accepted());
    EXPECT_EQ(check.values->effectiveFigure, 3);
    EXPECT_EQ(check.values->x1Value, 0.1f);
    EXPECT_EQ(check.values->y1Value, -2.0f);
    EXPECT_EQ(check.values->x2Value, 3.4028234e38f);
    EXPECT_EQ(check.values->y2Value, 1e-3f);

    AxisCalibration calibration;
    calibration.refX1Pos = 123;
    applyReferenceValues(*check.values, calibration);
    EXPECT_TRUE(calibration.coordinatesSet);
    EXPECT_EQ(calibration.effectiveFigure, 3);
    EXPECT_EQ(calibration.x2Value, 3.4028234e38f);
    EXPECT_EQ(calibration.refX1Pos, 123);  // positions belong to the markers
}

}  // namespace
