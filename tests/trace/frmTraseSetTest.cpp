// The trace settings: what the two boxes accept, and the dialog that stores,
// cancels or refuses with a beep and a warning.
#include "trace/TraceSettings.h"
#include "trace/ui/frmTraseSet.h"

#include "support/Fakes.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(TraceSettings, AcceptsWholeNumbersThatFitSixteenBitsWithAPointForDecimals)
{
    const std::tuple<const char*, const char*, int, int> accepted[] = {
        {"5", "50", 5, 50}, {"7.0", "30.000", 7, 30}, {" 3 ", "\t12 ", 3, 12}, {"1", "0", 1, 0} /* the current row only */,
        {"32767", "32767", 32767, 32767}, {"+2", "-0", 2, 0}};
    const QLocale saved; // whatever the locale, the decimal separator is "."
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (auto [freq, range, f, r] : accepted) {
        const auto s = parseTraceSettings(QString::fromUtf8(freq), QString::fromUtf8(range));
        ASSERT_TRUE(s.has_value()) << freq << " / " << range;
        EXPECT_EQ(s->freq, f);
        EXPECT_EQ(s->range, r);
    }
    for (const char* bad : {"2.5", "-1", "-0.5", "", "  ", "abc", "5a", "nan", "inf", "32768", "100000", "1e9", "5,0", "1,000"}) {
        EXPECT_FALSE(parseTraceSettings(QString::fromUtf8(bad), "50")) << "freq '" << bad << "'";
        EXPECT_FALSE(parseTraceSettings("5", QString::fromUtf8(bad))) << "range '" << bad << "'";
    }
    QLocale::setDefault(saved);
    EXPECT_FALSE(parseTraceSettings("0", "50")); // the tracer divides by the interval
}

TEST(TraseSetDialog, KeysAndButtonsStoreCancelOrRefuseAndKeepTheTypedText)
{
    TraceSettings settings;
    FakePlatform fakes;
    fakes.system.log = &fakes.messages.shown; // the beep must come before the warning
    QStringList& log = fakes.messages.shown;
    frmTraseSet dialog{settings, fakes.messages, fakes.system};
    QSignalSpy accepted{&dialog, &frmTraseSet::settingsAccepted};
    const auto ok = [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); };
    enum Outcome { Stored, Cancelled, Refused };
    const std::tuple<const char*, const char*, std::function<void()>, Outcome> cases[] = {
        {"11.0", "30", ok, Stored}, {"12", "31", [&] { QTest::keyClick(dialog.txtFreq, Qt::Key_Return); }, Stored},
        // The letter l is taken by the dialog; it does not land in the box.
        {"14", "33", [&] { QTest::keyClick(dialog.txtRange, Qt::Key_L); }, Stored},
        {"9", "35", [&] { QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton); }, Cancelled},
        {"8", "13", [&] { QTest::keyClick(dialog.txtRange, Qt::Key_Escape); }, Cancelled},
        // Refused: a beep, then the warning; the good box is not stored either.
        {"3", "-1", ok, Refused}, {"0", "30", ok, Refused},
        {"1.5", "30", [&] { QTest::keyClick(dialog.txtFreq, Qt::Key_Return); }, Refused},
    };
    int stored = 0;
    for (const auto& [freq, range, act, outcome] : cases) {
        SCOPED_TRACE(testing::Message() << freq << " / " << range);
        settings = TraceSettings{};
        log.clear();
        dialog.show();
        for (auto [box, text] : {std::pair(dialog.txtFreq, freq), std::pair(dialog.txtRange, range)}) {
            box->clear();
            QTest::keyClicks(box, text);
        }
        act();
        stored += outcome == Stored;
        EXPECT_EQ(accepted.count(), stored);
        EXPECT_EQ(dialog.isVisible(), outcome == Refused);
        const QStringList warning{"beep", "エラー|正しい値を入力して下さい"};
        EXPECT_EQ(log, outcome == Refused ? warning : QStringList());
        EXPECT_EQ(settings.freq, outcome == Stored ? QString(freq).toDouble() : 5);
        EXPECT_EQ(settings.range, outcome == Stored ? QString(range).toInt() : 50);
        EXPECT_EQ(dialog.txtFreq->text() + "/" + dialog.txtRange->text(), QString(freq) + "/" + range) << "shown next time";
    }
}

} // namespace
