#include "trace/TraceSettings.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(TraceSettings, AcceptsWholeNumbersThatFitSixteenBits)
{
    const std::tuple<const char*, const char*, int, int> accepted[] = {
        {"5", "50", 5, 50},
        {"7.0", "30.000", 7, 30}, // whole values written with decimals
        {" 3 ", "\t12 ", 3, 12},  // blanks around the number
        {"1", "0", 1, 0},         // a zero scan range searches the current row only
        {"32767", "32767", 32767, 32767},
        {"+2", "-0", 2, 0},
    };
    for (auto [freq, range, f, r] : accepted) {
        const auto s = parseTraceSettings(QString::fromUtf8(freq), QString::fromUtf8(range));
        ASSERT_TRUE(s.has_value()) << freq << " / " << range;
        EXPECT_EQ(s->freq, f);
        EXPECT_EQ(s->range, r);
    }
}

TEST(TraceSettings, RejectsThePairWhenEitherTextIsBad)
{
    const char* bad[] = {
        "2.5", "-1", "-0.5", "", "  ", "abc", "5a", "nan", "inf",
        "32768", "100000", "1e9", // does not fit 16 bits
        "5,0", "1,000",           // the decimal separator is always "."
    };
    for (const char* text : bad) {
        const QString t = QString::fromUtf8(text);
        EXPECT_FALSE(parseTraceSettings(t, "50")) << "freq '" << text << "'";
        EXPECT_FALSE(parseTraceSettings("5", t)) << "range '" << text << "'";
    }
    EXPECT_FALSE(parseTraceSettings("0", "50")); // the tracer divides by the interval
}

TEST(TraceSettings, ReadsPointDecimalsWhateverTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto point = parseTraceSettings("7.0", "20");
    const auto comma = parseTraceSettings("7,0", "20");
    QLocale::setDefault(saved);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->freq, 7);
    EXPECT_FALSE(comma);
}

} // namespace
