#include "trace/TraceSettings.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(TraceSettings, AcceptsWholeNumbersThatFitSixteenBitsWithAPointForDecimals)
{
    const std::tuple<const char*, const char*, int, int> accepted[] = {
        {"5", "50", 5, 50}, {"7.0", "30.000", 7, 30}, {" 3 ", "\t12 ", 3, 12},
        {"1", "0", 1, 0}, // a zero scan range searches the current row only
        {"32767", "32767", 32767, 32767}, {"+2", "-0", 2, 0}};
    // Whatever the locale: the decimal separator is always ".".
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (auto [freq, range, f, r] : accepted) {
        const auto s = parseTraceSettings(QString::fromUtf8(freq), QString::fromUtf8(range));
        ASSERT_TRUE(s.has_value()) << freq << " / " << range;
        EXPECT_EQ(s->freq, f);
        EXPECT_EQ(s->range, r);
    }
    for (const char* bad : {"2.5", "-1", "-0.5", "", "  ", "abc", "5a", "nan", "inf", "32768", "100000", "1e9",
                            "5,0", "1,000"}) {
        EXPECT_FALSE(parseTraceSettings(QString::fromUtf8(bad), "50")) << "freq '" << bad << "'";
        EXPECT_FALSE(parseTraceSettings("5", QString::fromUtf8(bad))) << "range '" << bad << "'";
    }
    QLocale::setDefault(saved);
    EXPECT_FALSE(parseTraceSettings("0", "50")); // the tracer divides by the interval
}

} // namespace
