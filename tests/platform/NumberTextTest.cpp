#include "platform/CursorValue.h"
#include "platform/NumberText.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace {

struct DoubleCase {
    double value;
    const char* text;
};

class FormatDoubleTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(FormatDoubleTest, WritesShortestDecimal)
{
    EXPECT_EQ(formatDouble(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatDoubleTest,
    ::testing::Values(DoubleCase{0.0, "0"}, DoubleCase{-0.0, "0"}, DoubleCase{1.0, "1"},
                      DoubleCase{-1.5, "-1.5"}, DoubleCase{12340.0, "12340"},
                      DoubleCase{0.1, "0.1"}, DoubleCase{0.1 + 0.2, "0.3"},
                      DoubleCase{1.23 * 0.01, "0.0123"}, DoubleCase{1.0 / 3.0, "0.333333333333333"},
                      DoubleCase{-2.0 / 3.0, "-0.666666666666667"},
                      DoubleCase{999999.9999999999, "1000000"},
                      DoubleCase{123456789.125, "123456789.125"},
                      DoubleCase{1e15, "1000000000000000"},
                      DoubleCase{1e-15, "0.000000000000001"},
                      // Beyond the plain range the program's own exponent form.
                      DoubleCase{1.5e16, "1.5E16"}, DoubleCase{-2e-16, "-2E-16"},
                      DoubleCase{123456789012345678.0, "1.23456789012346E17"},
                      DoubleCase{std::numeric_limits<double>::infinity(), "Inf"}));

TEST(FormatSingleTest, KeepsSevenSignificantDigits)
{
    EXPECT_EQ(formatSingle(0.0f), "0");
    EXPECT_EQ(formatSingle(0.1f), "0.1");  // not 0.100000001490116
    EXPECT_EQ(formatSingle(1234.5678f), "1234.568");
    EXPECT_EQ(formatSingle(-7.5f), "-7.5");
    EXPECT_EQ(formatSingle(16777216.0f), "16777220");
    EXPECT_EQ(formatSingle(1e-7f), "0.0000001");
    EXPECT_EQ(formatSingle(3.4028235e38f), "3.402823E38");
}

struct ParseCase {
    const char* text;
    std::optional<double> value;
};

class ParseDecimalTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalTest, ReadsUsualDecimalSyntaxOnly)
{
    const auto parsed = parseDecimal(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(parsed.has_value(), GetParam().value.has_value()) << GetParam().text;
    if (parsed) {
        EXPECT_DOUBLE_EQ(*parsed, *GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalTest,
    ::testing::Values(ParseCase{"1.5", 1.5}, ParseCase{"  1.5 ", 1.5}, ParseCase{"\t7\t", 7.0},
                      ParseCase{"+2", 2.0}, ParseCase{"-3", -3.0}, ParseCase{"1.", 1.0},
                      ParseCase{".5", 0.5}, ParseCase{"-.5", -0.5}, ParseCase{"1e3", 1000.0},
                      ParseCase{"1E-3", 0.001}, ParseCase{"-1.25e+2", -125.0},
                      ParseCase{"1e-400", 0.0},
                      ParseCase{"", std::nullopt}, ParseCase{"   ", std::nullopt},
                      ParseCase{"abc", std::nullopt}, ParseCase{"1,5", std::nullopt},
                      ParseCase{"1 2", std::nullopt}, ParseCase{".", std::nullopt},
                      ParseCase{"1e", std::nullopt}, ParseCase{"--1", std::nullopt},
                      ParseCase{"inf", std::nullopt}, ParseCase{"nan", std::nullopt},
                      ParseCase{"0x10", std::nullopt}, ParseCase{"１", std::nullopt},
                      ParseCase{"1e400", std::nullopt}, ParseCase{"-1e400", std::nullopt}));

// The mantissa alone may already be beyond the double range.
TEST(ParseDecimalRangeTest, LongDigitRows)
{
    EXPECT_EQ(parseDecimal(QString(400, QLatin1Char('9'))), std::nullopt);
    EXPECT_EQ(parseDecimal(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QLatin1Char('1')), 0.0);
}

// A German desktop must neither write "1,5" nor refuse a typed "1.5".
TEST(NumberTextLocaleTest, IgnoresSystemLocale)
{
    const QLocale previous;
    const std::string previousNumeric = std::setlocale(LC_NUMERIC, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be missing; QLocale still counts

    EXPECT_EQ(formatDouble(1.5), "1.5");
    EXPECT_EQ(formatDouble(12345.0), "12345");
    EXPECT_EQ(formatSingle(0.25f), "0.25");
    EXPECT_EQ(parseDecimal(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(parseDecimal(QStringLiteral("1,5")), std::nullopt);

    std::setlocale(LC_NUMERIC, previousNumeric.c_str());
    QLocale::setDefault(previous);
}

TEST(CursorValueTest, TextOfEachKind)
{
    EXPECT_EQ(CursorValue().text(), "");
    EXPECT_EQ(CursorValue(0.0123).text(), "0.0123");
    EXPECT_EQ(CursorValue(QStringLiteral("1.23E4")).text(), "1.23E4");
}

}  // namespace
