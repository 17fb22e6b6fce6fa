#include "calibration/AxisCalibration.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RoundCase {
    double value;
    int figures;
    const char* shown;  // what the readout and the data sheet show
    bool isText;        // exponent form
};

void PrintTo(const RoundCase& c, std::ostream* os) { *os << c.value << " F=" << c.figures; }

class RoundToFiguresTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundToFiguresTest, GivesNumberOrExponentText)
{
    const CursorValue rounded = RoundToFigures(GetParam().value, GetParam().figures);
    EXPECT_EQ(rounded.text().toStdString(), GetParam().shown);
    EXPECT_EQ(rounded.isNumber(), !GetParam().isText);
}

INSTANTIATE_TEST_SUITE_P(
    ThreeFigures, RoundToFiguresTest,
    ::testing::Values(RoundCase{12345.6, 3, "1.23E4", true}, RoundCase{0.000123456, 3, "1.23E-4", true},
                      RoundCase{-98765, 3, "-9.88E4", true}, RoundCase{12000, 3, "1.2E4", true},
                      RoundCase{123.456, 3, "123", false}, RoundCase{0.0123456, 3, "0.0123", false},
                      RoundCase{-0.0123456, 3, "-0.0123", false}, RoundCase{9.996, 3, "10", false},
                      // The mantissa is not normalised again after rounding.
                      RoundCase{99960, 3, "10E4", true}, RoundCase{0.5, 3, "0.5", false},
                      RoundCase{0.0, 3, "0", false}));

INSTANTIATE_TEST_SUITE_P(
    HalfToEven, RoundToFiguresTest,
    ::testing::Values(RoundCase{25, 1, "20", false}, RoundCase{35, 1, "40", false},
                      RoundCase{250, 1, "2E2", true}, RoundCase{-25, 1, "-20", false},
                      RoundCase{12.5, 2, "12", false}, RoundCase{0.125, 2, "0.12", false},
                      RoundCase{0.375, 2, "0.38", false}, RoundCase{0.0125, 2, "0.013", false},
                      // Decimal halves that binary cannot hold round by their true value: 1.005 is
                      // 1.00499999999999989..., 0.0125 is 0.01250000000000000069...
                      RoundCase{1.005, 3, "1", false}, RoundCase{1.0051, 3, "1.01", false},
                      RoundCase{12345, 4, "12340", false}, RoundCase{12355, 4, "12360", false},
                      RoundCase{123456, 4, "1.235E5", true}, RoundCase{1234.5, 4, "1234", false}));

// The exponent is the truncated quotient of natural logarithms; for 1000 and 1e6
// that quotient lands just below the whole number, leaving a mantissa of 10.
INSTANTIATE_TEST_SUITE_P(
    PowersOfTen, RoundToFiguresTest,
    ::testing::Values(RoundCase{1000, 1, "10E2", true}, RoundCase{1000, 3, "1000", false},
                      RoundCase{1e6, 4, "10E5", true}, RoundCase{100, 1, "1E2", true},
                      RoundCase{0.001, 1, "1E-3", true}, RoundCase{0.001, 3, "0.001", false},
                      RoundCase{1e-5, 4, "10E-6", true}));

INSTANTIATE_TEST_SUITE_P(
    Unrounded, RoundToFiguresTest,
    ::testing::Values(RoundCase{123.456, 0, "123.456", false}, RoundCase{123.456, 5, "123.456", false},
                      RoundCase{4.9e-324, 3, "4.94E-324", true}));

TEST(RoundToFiguresValueTest, NumberKeepsItsValue)
{
    EXPECT_EQ(RoundToFigures(1000, 3).number(), 1000.0);
    EXPECT_EQ(RoundToFigures(12345, 4).number(), 12340.0);
    EXPECT_EQ(RoundToFigures(0.0123456, 3).number(), 0.0123);
}

}  // namespace
