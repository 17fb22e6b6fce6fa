#include "trace/TraceSettings.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* freq;
    const char* range;
    int expectedFreq;
    int expectedRange;
};

TEST(TraceSettings, AcceptsWholeNumbers)
{
    const Accepted cases[] = {
        {"5", "50", 5, 50},
        {"7.0", "30.000", 7, 30}, // whole values written with decimals
        {" 3 ", "\t12 ", 3, 12},  // blanks around the number
        {"1", "0", 1, 0},         // a zero scan range searches the current row only
        {"32767", "32767", 32767, 32767},
        {"+2", "-0", 2, 0},
    };
    for (const Accepted& c : cases) {
        const auto s = parseTraceSettings(QString::fromUtf8(c.freq), QString::fromUtf8(c.range));
        ASSERT_TRUE(s.has_value()) << c.freq << " / " << c.range;
        EXPECT_EQ(s->freq, c.expectedFreq);
        EXPECT_EQ(s->range, c.expectedRange);
    }
}

TEST(TraceSettings, RejectsThePairWhenEitherTextIsBad)
{
    const char* bad[] = {
        "2.5", "-1", "-0.5",     // fractional or negative
        "", "  ", "abc", "5a",   // not a number
        "32768", "100000", "1e9", // does not fit 16 bits
        "5,0", "1,000",           // the decimal separator is always "."
        "nan", "inf",
    };
    for (const char* text : bad) {
        const QString t = QString::fromUtf8(text);
        EXPECT_FALSE(parseTraceSettings(t, "50")) << "freq '" << text << "'";
        EXPECT_FALSE(parseTraceSettings("5", t)) << "range '" << text << "'";
    }
    // The tracer divides by the interval, so 0 is refused there only.
    EXPECT_FALSE(parseTraceSettings("0", "50"));
    EXPECT_TRUE(parseTraceSettings("5", "0"));
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
