#include "trace/ui/frmTraseSet.h"

#include "platform/Services.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kWarning{"beep", QStringLiteral("エラー|正しい値を入力して下さい")};

// Beeps and message boxes go into one list so their order can be checked.
struct Recorder : MessageBoxes, SystemServices {
    void error(const QString& text, const QString& title) override { log << title + "|" + text; }
    bool confirm(const QString& text, const QString& title) override { return error(text, title), true; }
    SaveChoice askToSave(const QString& text, const QString& title) override { return error(text, title), SaveChoice::Cancel; }
    void beep() override { log << QStringLiteral("beep"); }
    void sleep(int) override {}
    void processEventsOnce() override {}
    QStringList log;
};

class TraseSetDialog : public ::testing::Test {
protected:
    TraseSetDialog() { dialog.show(); }

    void type(QLineEdit* box, const QString& text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    TraceSettings settings;
    Recorder rec;
    frmTraseSet dialog{settings, rec, rec};
    QSignalSpy accepted{&dialog, &frmTraseSet::settingsAccepted};
};

TEST_F(TraseSetDialog, KeysAndButtonsStoreCancelOrRefuseAndKeepTheTypedText)
{
    enum Outcome { Stored, Cancelled, Refused };
    const std::tuple<const char*, const char*, std::function<void()>, Outcome> cases[] = {
        {"11.0", "30", [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }, Stored},
        {"12", "31", [&] { QTest::keyClick(dialog.txtFreq, Qt::Key_Return); }, Stored},
        {"13", "32", [&] { QTest::keyClick(dialog.txtRange, Qt::Key_Enter); }, Stored},
        // The letter l is taken by the dialog from any control; none lands in a box.
        {"14", "33", [&] { QTest::keyClick(dialog.txtRange, Qt::Key_L); }, Stored},
        {"15", "34", [&] { QTest::keyClick(dialog.cmdCancel, Qt::Key_L); }, Stored},
        {"9", "35", [&] { QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton); }, Cancelled},
        {"8", "13", [&] { QTest::keyClick(dialog.txtRange, Qt::Key_Escape); }, Cancelled},
        // Refused: a beep, then the warning; the good box is not stored either.
        {"2.5", "30", [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }, Refused},
        {"3", "-1", [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }, Refused},
        {"", "30", [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }, Refused},
        {"0", "30", [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); }, Refused},
        {"1.5", "30", [&] { QTest::keyClick(dialog.txtFreq, Qt::Key_Return); }, Refused},
    };
    int stored = 0;
    for (const auto& [freq, range, act, outcome] : cases) {
        SCOPED_TRACE(testing::Message() << freq << " / " << range);
        settings = TraceSettings{};
        rec.log.clear();
        dialog.show();
        type(dialog.txtFreq, freq);
        type(dialog.txtRange, range);
        act();
        stored += outcome == Stored;
        EXPECT_EQ(accepted.count(), stored);
        EXPECT_EQ(dialog.isVisible(), outcome == Refused);
        EXPECT_EQ(rec.log, outcome == Refused ? kWarning : QStringList());
        EXPECT_EQ(settings.freq, outcome == Stored ? QString(freq).toDouble() : 5);
        EXPECT_EQ(settings.range, outcome == Stored ? QString(range).toInt() : 50);
        // The next opening shows what was typed.
        EXPECT_EQ(dialog.txtFreq->text(), freq);
        EXPECT_EQ(dialog.txtRange->text(), range);
    }
}

} // namespace
