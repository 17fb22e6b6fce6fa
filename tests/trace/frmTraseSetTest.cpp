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

TEST_F(TraseSetDialog, OkEnterAndLetterLStoreTheValuesFromAnyControl)
{
    const std::function<void()> presses[] = {
        [&] { QTest::mouseClick(dialog.cmdOK, Qt::LeftButton); },
        [&] { QTest::keyClick(dialog.txtFreq, Qt::Key_Return); },
        [&] { QTest::keyClick(dialog.txtRange, Qt::Key_Enter); },
        [&] { QTest::keyClick(dialog.txtRange, Qt::Key_L); },
        [&] { QTest::keyClick(dialog.cmdCancel, Qt::Key_L); },
    };
    int value = 10;
    for (const auto& press : presses) {
        dialog.show();
        type(dialog.txtFreq, QString::number(++value) + ".0");
        type(dialog.txtRange, "30");
        press();
        EXPECT_EQ(settings.freq, value);
        EXPECT_EQ(settings.range, 30);
        EXPECT_EQ(accepted.count(), value - 10);
        EXPECT_FALSE(dialog.isVisible()) << value;
        // The key is taken by the dialog; no "l" lands in a box.
        EXPECT_EQ(dialog.txtFreq->text(), QString::number(value) + ".0");
        EXPECT_EQ(dialog.txtRange->text(), "30");
    }
    EXPECT_TRUE(rec.log.isEmpty());
}

TEST_F(TraseSetDialog, RejectedInputBeepsWarnsAndKeepsEverything)
{
    const std::pair<QString, QString> bad[] = {{"2.5", "30"}, {"3", "-1"}, {"", "30"}, {"0", "30"}, {"1.5", "30"}};
    for (const auto& [freq, range] : bad) {
        SCOPED_TRACE((freq + " / " + range).toStdString());
        rec.log.clear();
        type(dialog.txtFreq, freq);
        type(dialog.txtRange, range);
        if (freq == "1.5") // the key gives the same warning as the button
            QTest::keyClick(dialog.txtFreq, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        EXPECT_EQ(rec.log, kWarning);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.txtFreq->text(), freq);
        EXPECT_EQ(dialog.txtRange->text(), range);
        EXPECT_EQ(settings.freq, 5); // the good box is not stored either
        EXPECT_EQ(settings.range, 50);
    }
    EXPECT_EQ(accepted.count(), 0);
}

TEST_F(TraseSetDialog, CancelAndEscapeHideAndKeepTheTypedText)
{
    type(dialog.txtFreq, "9");
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    EXPECT_EQ(dialog.txtFreq->text(), "9"); // the next opening shows what was typed
    type(dialog.txtRange, "13");
    QTest::keyClick(dialog.txtRange, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.txtRange->text(), "13");
    EXPECT_EQ(settings.freq, 5);
    EXPECT_EQ(settings.range, 50);
    EXPECT_EQ(accepted.count(), 0);
}

} // namespace
