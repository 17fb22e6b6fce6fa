#include "platform/NumberText.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace {

TEST(NumberText, WritesTheShortestDecimalAndSevenDigitsForSinglePrecision)
{
    const std::pair<double, const char*> doubles[] = {{0.0, "0"}, {-0.0, "0"}, {-1.5, "-1.5"}, {12340.0, "12340"},
        {0.1 + 0.2, "0.3"}, {1.23 * 0.01, "0.0123"}, {1.0 / 3.0, "0.333333333333333"}, {-2.0 / 3.0, "-0.666666666666667"},
        {999999.9999999999, "1000000"}, {123456789.125, "123456789.125"}, {1e15, "1000000000000000"},
        {1e-15, "0.000000000000001"}, /* beyond the plain range, the program's own exponent form */ {1.5e16, "1.5E16"},
        {-2e-16, "-2E-16"}, {123456789012345678.0, "1.23456789012346E17"}, {std::numeric_limits<double>::infinity(), "Inf"}};
    for (const auto& [value, text] : doubles)
        EXPECT_EQ(formatDouble(value).toStdString(), text);
    const std::pair<float, const char*> singles[] = {{0.0f, "0"}, {0.1f, "0.1"} /* not 0.100000001490116 */,
        {1234.5678f, "1234.568"}, {-7.5f, "-7.5"}, {16777216.0f, "16777220"}, {1e-7f, "0.0000001"},
        {3.4028235e38f, "3.402823E38"}};
    for (const auto& [value, text] : singles)
        EXPECT_EQ(formatSingle(value), text);
}

TEST(NumberText, ReadsUsualDecimalSyntaxOnly)
{
    const std::pair<const char*, double> valid[] = {{"1.5", 1.5}, {"  1.5 ", 1.5}, {"\t7\t", 7.0}, {"+2", 2.0},
        {"-3", -3.0}, {"1.", 1.0}, {".5", 0.5}, {"-.5", -0.5}, {"1e3", 1000.0}, {"1E-3", 0.001}, {"-1.25e+2", -125.0},
        {"1e-400", 0.0}};
    for (const auto& [text, value] : valid)
        EXPECT_EQ(parseDecimal(QString::fromUtf8(text)), value) << text;
    for (const char* text : {"", "   ", "abc", "1,5", "1 2", ".", "1e", "--1", "inf", "nan", "0x10", "１", "1e400", "-1e400"})
        EXPECT_EQ(parseDecimal(QString::fromUtf8(text)), std::nullopt) << text;
    // The mantissa alone may already be beyond the double range.
    EXPECT_EQ(parseDecimal(QString(400, QLatin1Char('9'))), std::nullopt);
    EXPECT_EQ(parseDecimal(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QLatin1Char('1')), 0.0);
}

// A German desktop must neither write "1,5" nor refuse a typed "1.5".
TEST(NumberText, IgnoresTheSystemLocale)
{
    const QLocale previous;
    const std::string previousNumeric = std::setlocale(LC_NUMERIC, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may be missing; QLocale still counts
    EXPECT_EQ(formatDouble(12345.5) + " " + formatSingle(0.25f), "12345.5 0.25");
    EXPECT_EQ(parseDecimal(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(parseDecimal(QStringLiteral("1,5")), std::nullopt);
    std::setlocale(LC_NUMERIC, previousNumeric.c_str());
    QLocale::setDefault(previous);
}

} // namespace
