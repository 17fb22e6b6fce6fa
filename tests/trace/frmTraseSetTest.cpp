#include "trace/ui/frmTraseSet.h"

#include "trace/TraceFakes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TraseSetDialog : public ::testing::Test {
protected:
    TraseSetDialog() : system(log), dialog(settings, messages, system)
    {
        messagesLog = &messages.calls;
        dialog.show();
    }

    // Beeps and boxes in the order they happened.
    QStringList events() const
    {
        QStringList all = log;
        all += *messagesLog;
        return all;
    }

    void type(QLineEdit* box, const QString& text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    TraceSettings settings;
    QStringList log;
    RecordingMessages messages;
    QStringList* messagesLog = nullptr;
    RecordingSystem system;
    frmTraseSet dialog;
};

TEST_F(TraseSetDialog, ShowsItsControlsWhereTheFormPutsThem)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾄﾚｰｽ設定"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.size(), QSize(338, 171));

    struct Control {
        const char* name;
        QString caption; // empty for the text boxes
        QRect pixels;
    };
    const Control controls[] = {
        {"Label1", QStringLiteral("測定間隔"), {24, 24, 77, 17}},
        {"txtFreq", {}, {144, 20, 37, 26}},
        {"Label3", QStringLiteral("ドット間隔"), {196, 24, 89, 17}},
        {"Label4", QStringLiteral("上下の　　　スキャン範囲"), {24, 68, 113, 33}},
        {"txtRange", {}, {144, 72, 37, 26}},
        {"Label6", QStringLiteral("ドット"), {196, 76, 57, 17}},
        {"cmdOK", QStringLiteral("OK"), {160, 120, 65, 33}},
        {"cmdCancel", QStringLiteral("Cancel"), {244, 120, 65, 33}},
    };
    for (const Control& c : controls) {
        auto* w = dialog.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.pixels) << c.name;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->text(), c.caption) << c.name;
        }
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(b->text(), c.caption) << c.name;
        }
    }
    EXPECT_EQ(dialog.txtFreq->text(), "5");
    EXPECT_EQ(dialog.txtRange->text(), "50");
}

TEST_F(TraseSetDialog, OkStoresAcceptedValuesAndHides)
{
    QSignalSpy accepted(&dialog, &frmTraseSet::settingsAccepted);
    type(dialog.txtFreq, "7.0");
    type(dialog.txtRange, "30");
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);

    EXPECT_EQ(settings.freq, 7);
    EXPECT_EQ(settings.range, 30);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(events().isEmpty());
}

TEST_F(TraseSetDialog, RejectedInputBeepsWarnsAndKeepsEverything)
{
    QSignalSpy accepted(&dialog, &frmTraseSet::settingsAccepted);
    const std::pair<QString, QString> bad[] = {
        {"2.5", "30"}, {"3", "-1"}, {"", "30"}, {"0", "30"},
    };
    for (const auto& [freq, range] : bad) {
        log.clear();
        messages.calls.clear();
        type(dialog.txtFreq, freq);
        type(dialog.txtRange, range);
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);

        EXPECT_EQ(events(), (QStringList{"beep", QStringLiteral("エラー|正しい値を入力して下さい")}))
            << freq.toStdString() << " / " << range.toStdString();
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
    QSignalSpy accepted(&dialog, &frmTraseSet::settingsAccepted);
    type(dialog.txtFreq, "9");
    type(dialog.txtRange, "12");
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

TEST_F(TraseSetDialog, EnterAndLetterLRunOkFromAnyControl)
{
    struct Key {
        QWidget* target;
        Qt::Key key;
        char text;
    };
    const Key keys[] = {
        {dialog.txtFreq, Qt::Key_Return, '\r'},
        {dialog.txtRange, Qt::Key_Enter, '\r'},
        {dialog.txtRange, Qt::Key_L, 'l'},
        {dialog.cmdCancel, Qt::Key_L, 'l'},
    };
    int value = 10;
    for (const Key& k : keys) {
        dialog.show();
        type(dialog.txtFreq, QString::number(++value));
        QTest::keyClick(k.target, k.key, Qt::NoModifier);
        EXPECT_EQ(settings.freq, value) << k.text;
        EXPECT_FALSE(dialog.isVisible());
        // The key is taken by the dialog; no "l" lands in a box.
        EXPECT_EQ(dialog.txtFreq->text(), QString::number(value));
        EXPECT_EQ(dialog.txtRange->text(), "50");
    }

    // On bad input the key gives the same warning as the button.
    dialog.show();
    type(dialog.txtFreq, "1.5");
    QTest::keyClick(dialog.txtFreq, Qt::Key_Return);
    EXPECT_EQ(log, QStringList{"beep"});
    EXPECT_TRUE(dialog.isVisible());
}

TEST(TraseSetDialogLoad, BoxesShowTheSettingsItWasCreatedWith)
{
    TraceSettings settings{3, 120};
    QStringList log;
    RecordingMessages messages;
    RecordingSystem system(log);
    frmTraseSet dialog(settings, messages, system);
    EXPECT_EQ(dialog.txtFreq->text(), "3");
    EXPECT_EQ(dialog.txtRange->text(), "120");
}

} // namespace
