// The reference coordinate dialog: what it accepts, the first problem it names,
// and that a refusal or a cancel stores nothing.
#include "calibration/ui/frmXYSetting.h"

#include "support/Fakes.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

struct XYDialog {
    XYDialog() { dialog.show(); }
    template <typename T = QLineEdit>
    T* child(const char* name) { return dialog.findChild<T*>(QLatin1String(name)); }

    AxisCalibration calibration;
    FakeMessageBoxes messages;
    frmXYSetting dialog{calibration, messages};
    QSignalSpy confirmed{&dialog, &frmXYSetting::confirmed};
};

TEST(XYSettingDialog, AcceptsOrNamesTheFirstProblemAndStoresNothing)
{
    const char *ok = "", *logNotPositive = "対数に負や0の値はとれません。",
               *figuresWrong = "有効桁数を訂正してください。", *empty = "値を入力して下さい",
               *invalid = "正しい値を入力して下さい";
    // X1, Y1, X2, Y2, figures; x linear, y linear; the message given.
    const std::tuple<QStringList, bool, bool, const char*> cases[] = {
        {{"0", "0", "100", "100", "4"}, true, true, ok}, {{"0", "1", "100", "100", "4"}, false, true, logNotPositive},
        {{"1", "1", "100", "-5", "4"}, true, false, logNotPositive},
        {{"1", "1", "100", "-5", "9"}, false, false, logNotPositive}, // y's log is checked after x, before figures
        {{"1e-50", "1", "10", "10", "4"}, false, true, logNotPositive}, // what single precision makes 0
        {{"0", "0", "100", "100", "0"}, true, true, figuresWrong}, {{"0", "0", "100", "100", "5"}, true, true, figuresWrong},
        {{"0", "0", "100", "100", "2.5"}, true, true, figuresWrong}, {{"0", "0", "100", "100", ""}, true, true, figuresWrong},
        {{"0", "0", "100", "100", "3.0"}, true, true, ok}, {{"0", "0", "100", "100", "abc"}, true, true, invalid},
        {{"0", "0", "100", "", "4"}, true, true, empty}, {{"abc", "0", "100", "", "4"}, true, true, empty},
        {{"abc", "0", "100", "100", "4"}, true, false, invalid}, // x's conversion before y's log
        {{"1e400", "0", "100", "100", "4"}, true, true, invalid}, {{"0", "0", "100", "1e39", "4"}, true, true, invalid},
        {{"0", "0", "100", "1e39", "7"}, true, true, figuresWrong}, // figures before the single-precision range
        {{" 1e1 ", "-2.5", "+1E+3", ".5", " 2 "}, true, true, ok},
    };
    for (const auto& [texts, xLinear, yLinear, message] : cases) {
        SCOPED_TRACE(texts.join(" | ").toStdString());
        XYDialog d;
        for (int i = 0; i < 5; ++i)
            d.child(std::array{"txtX1", "txtY1", "txtX2", "txtY2", "txtEffectiveFigure"}[i])->setText(texts[i]);
        d.child<QRadioButton>(xLinear ? "optXLinear" : "optXLog")->setChecked(true);
        d.child<QRadioButton>(yLinear ? "optYLinear" : "optYLog")->setChecked(true);
        d.child<QPushButton>("cmdSettei")->click();
        const bool accepted = !*message;
        EXPECT_EQ(d.messages.shown, accepted ? QStringList() : QStringList{"エラー|" + QString::fromUtf8(message)});
        EXPECT_EQ(d.dialog.isVisible(), !accepted);
        EXPECT_EQ(d.confirmed.count(), accepted ? 1 : 0);
        EXPECT_EQ(d.calibration.coordinatesSet, accepted);
        EXPECT_EQ(d.calibration.effectiveFigure, accepted ? int(texts[4].toDouble()) : 0);
        EXPECT_EQ(d.calibration.x2Value, accepted ? texts[2].toFloat() : 0.0f);
        EXPECT_EQ(d.calibration.y2Value, accepted ? texts[3].toFloat() : 0.0f);
        EXPECT_EQ(d.child("txtX2")->text(), texts[2]) << "the typed text stays";
    }
}

TEST(XYSettingDialog, EnterAnywhereConfirmsAndOnlyTheScaleToggleOutlivesACancel)
{
    const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, bool> presses[] = {
        {"txtX1", Qt::Key_Return, Qt::NoModifier, true}, {"txtX2", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"txtEffectiveFigure", Qt::Key_Return, Qt::NoModifier, true}, {"cmdCancel", Qt::Key_Return, Qt::NoModifier, true},
        {"txtY1", Qt::Key_Comma, Qt::KeypadModifier, true}, {"txtY2", Qt::Key_Escape, Qt::NoModifier, false},
        {"cmdCancel", Qt::Key_Space, Qt::NoModifier, false}};
    for (const auto& [box, key, modifiers, confirms] : presses) {
        XYDialog d;
        d.child("txtX1")->setText("5");
        d.child("txtX2")->setText("250");
        d.child<QRadioButton>("optXLog")->click();
        QTest::keyClick(d.child<QWidget>(box), key, modifiers);
        EXPECT_EQ(d.confirmed.count(), confirms ? 1 : 0) << box;
        EXPECT_FALSE(d.dialog.isVisible()) << box;
        EXPECT_EQ(d.calibration.x2Value, confirms ? 250.0f : 0.0f) << box;
        EXPECT_FALSE(d.calibration.xLinear) << box << ": the scale toggle counts at once";
        d.dialog.show();
        EXPECT_EQ(d.child("txtX2")->text(), "250") << box;
    }
    XYDialog d;
    QTest::keyClick(d.child("txtX1"), Qt::Key_Comma); // an ordinary comma is just typed
    EXPECT_EQ(d.child("txtX1")->text(), "0,");
}

} // namespace
