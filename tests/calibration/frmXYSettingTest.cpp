#include "calibration/ui/frmXYSetting.h"

#include "support/Fakes.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

namespace {

class XYSettingDialogTest : public ::testing::Test {
protected:
    XYSettingDialogTest() { dialog.show(); }

    template <typename T = QLineEdit>
    T* child(const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void type(const char* box, const char* text) { child(box)->setText(QString::fromUtf8(text)); }

    AxisCalibration calibration;
    FakeMessageBoxes messages;
    frmXYSetting dialog{calibration, messages};
    QSignalSpy confirmed{&dialog, &frmXYSetting::confirmed};
};

TEST_F(XYSettingDialogTest, EnterInAnyBoxAndKeypadSeparatorConfirm)
{
    const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers> presses[] = {
        {"txtX1", Qt::Key_Return, Qt::NoModifier},   {"txtY1", Qt::Key_Return, Qt::NoModifier},
        {"txtX2", Qt::Key_Enter, Qt::KeypadModifier}, {"txtY2", Qt::Key_Return, Qt::NoModifier},
        {"txtEffectiveFigure", Qt::Key_Return, Qt::NoModifier}, {"cmdCancel", Qt::Key_Return, Qt::NoModifier},
        {"txtY1", Qt::Key_Comma, Qt::KeypadModifier},
    };
    int count = 0;
    for (const auto& [box, key, modifiers] : presses) {
        calibration = AxisCalibration{};
        dialog.show();
        type("txtX2", "250");
        QTest::keyClick(child<QWidget>(box), key, modifiers);
        EXPECT_EQ(confirmed.count(), ++count) << box;
        EXPECT_FALSE(dialog.isVisible()) << box;
        EXPECT_TRUE(calibration.coordinatesSet) << box;
        EXPECT_EQ(calibration.x2Value, 250.0f) << box;
        EXPECT_EQ(calibration.effectiveFigure, 4) << box;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(XYSettingDialogTest, CancelAndEscapeKeepTextsAndValuesButScaleToggleStays)
{
    type("txtX1", "5");
    child<QRadioButton>("optXLog")->click();
    EXPECT_FALSE(calibration.xLinear); // at once, before any button
    child<QPushButton>("cmdCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(calibration.xLinear);
    EXPECT_TRUE(calibration.yLinear);

    dialog.show();
    EXPECT_EQ(child("txtX1")->text(), "5");
    EXPECT_TRUE(child<QRadioButton>("optXLog")->isChecked());
    QTest::keyClick(child("txtX1"), Qt::Key_Comma); // an ordinary comma is just typed
    EXPECT_EQ(child("txtX1")->text(), "5,");
    QTest::keyClick(child("txtX1"), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(calibration.coordinatesSet);
    EXPECT_EQ(calibration.x1Value, 0.0f);
    EXPECT_EQ(confirmed.count(), 0);

    child<QRadioButton>("optYLog")->click();
    child<QRadioButton>("optYLinear")->click();
    EXPECT_TRUE(calibration.yLinear);
}

TEST_F(XYSettingDialogTest, RefusalShowsErrorAndStaysOpenUntouched)
{
    const std::tuple<const char*, const char*, const char*, const char*> refusals[] = {
        // x1, y2, figures; x is switched to log below.
        {"0", "100", "3", "エラー|対数に負や0の値はとれません。"},
        {"2", "", "3", "エラー|値を入力して下さい"},
        {"2", "100", "5", "エラー|有効桁数を訂正してください。"},
        {"2", "1e39", "3", "エラー|正しい値を入力して下さい"}, // too large for single precision: nothing may be stored
    };
    child<QRadioButton>("optXLog")->click();
    for (const auto& [x1, y2, figures, message] : refusals) {
        messages.shown.clear();
        type("txtX1", x1);
        type("txtX2", "300");
        type("txtY2", y2);
        type("txtEffectiveFigure", figures);
        child<QPushButton>("cmdSettei")->click();

        EXPECT_EQ(messages.shown, QStringList{message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(confirmed.count(), 0);
        EXPECT_FALSE(calibration.coordinatesSet);
        EXPECT_EQ(calibration.effectiveFigure, 0);
        EXPECT_EQ(calibration.x1Value, 0.0f);
        EXPECT_EQ(calibration.x2Value, 0.0f);
        EXPECT_EQ(child("txtX2")->text(), "300");
    }
}

} // namespace
