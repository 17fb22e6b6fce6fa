#include "calibration/ui/frmXYSetting.h"

#include "calibration/ReferenceInput.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class RecordingMessageBoxes : public MessageBoxes {
public:
    void error(const QString& text, const QString& title) override { shown.emplace_back(text, title); }
    bool confirm(const QString&, const QString&) override { return true; }
    std::vector<std::pair<QString, QString>> shown;
};

class XYSettingDialogTest : public ::testing::Test {
protected:
    XYSettingDialogTest() : dialog(calibration, messages)
    {
        dialog.show();
    }

    template <typename T>
    T* child(const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void type(const char* box, const QString& text) { child<QLineEdit>(box)->setText(text); }

    AxisCalibration calibration;
    RecordingMessageBoxes messages;
    frmXYSetting dialog;
};

TEST_F(XYSettingDialogTest, EnterInAnyBoxConfirms)
{
    const std::vector<std::pair<const char*, Qt::Key>> presses{
        {"txtX1", Qt::Key_Return}, {"txtY1", Qt::Key_Return}, {"txtX2", Qt::Key_Enter},
        {"txtY2", Qt::Key_Return}, {"txtEffectiveFigure", Qt::Key_Return}, {"cmdCancel", Qt::Key_Return}};
    for (const auto& [box, key] : presses) {
        calibration = AxisCalibration{};
        dialog.show();
        type("txtX2", QStringLiteral("250"));
        QSignalSpy confirmed(&dialog, &frmXYSetting::confirmed);
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(child<QWidget>(box), key, modifiers);
        EXPECT_EQ(confirmed.count(), 1) << box;
        EXPECT_FALSE(dialog.isVisible()) << box;
        EXPECT_TRUE(calibration.coordinatesSet) << box;
        EXPECT_EQ(calibration.x2Value, 250.0f) << box;
        EXPECT_EQ(calibration.effectiveFigure, 4) << box;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(XYSettingDialogTest, KeypadSeparatorConfirmsAndEscapeCancels)
{
    QTest::keyClick(child<QLineEdit>("txtY1"), Qt::Key_Comma, Qt::KeypadModifier);
    EXPECT_TRUE(calibration.coordinatesSet);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    type("txtY1", QStringLiteral("7"));
    QTest::keyClick(child<QLineEdit>("txtY1"), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(calibration.y1Value, 0.0f);
    // An ordinary comma is just typed.
    dialog.show();
    QTest::keyClick(child<QLineEdit>("txtY1"), Qt::Key_Comma);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(child<QLineEdit>("txtY1")->text(), "7,");
}

TEST_F(XYSettingDialogTest, CancelKeepsTextsAndValuesButScaleToggleStays)
{
    type("txtX1", QStringLiteral("5"));
    child<QRadioButton>("optXLog")->click();
    EXPECT_FALSE(calibration.xLinear);  // at once, before any button
    child<QPushButton>("cmdCancel")->click();

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(calibration.coordinatesSet);
    EXPECT_EQ(calibration.x1Value, 0.0f);
    EXPECT_FALSE(calibration.xLinear);
    EXPECT_TRUE(calibration.yLinear);

    dialog.show();
    EXPECT_EQ(child<QLineEdit>("txtX1")->text(), "5");
    EXPECT_TRUE(child<QRadioButton>("optXLog")->isChecked());
    child<QRadioButton>("optYLog")->click();
    child<QRadioButton>("optYLinear")->click();
    EXPECT_TRUE(calibration.yLinear);
}

TEST_F(XYSettingDialogTest, RefusalShowsErrorAndStaysOpenUntouched)
{
    struct Refusal {
        const char* box;
        const char* text;
        QString message;
    };
    const std::vector<Refusal> refusals{
        {"txtX1", "0", kMessageLogNotPositive},  // x is switched to log below
        {"txtY2", "", kMessageEmpty},
        {"txtEffectiveFigure", "5", kMessageFigures},
        // Too large for single precision: nothing at all may be stored.
        {"txtY2", "1e39", kMessageInvalid},
    };
    child<QRadioButton>("optXLog")->click();
    for (const Refusal& refusal : refusals) {
        messages.shown.clear();
        type("txtX1", refusal.box == QLatin1String("txtX1") ? QString::fromUtf8(refusal.text)
                                                            : QStringLiteral("2"));
        type("txtX2", QStringLiteral("300"));
        type("txtY2", refusal.box == QLatin1String("txtY2") ? QString::fromUtf8(refusal.text)
                                                            : QStringLiteral("100"));
        type("txtEffectiveFigure", refusal.box == QLatin1String("txtEffectiveFigure")
                                       ? QString::fromUtf8(refusal.text)
                                       : QStringLiteral("3"));
        QSignalSpy confirmed(&dialog, &frmXYSetting::confirmed);
        child<QPushButton>("cmdSettei")->click();

        ASSERT_EQ(messages.shown.size(), 1u) << refusal.text;
        EXPECT_EQ(messages.shown[0].first, refusal.message);
        EXPECT_EQ(messages.shown[0].second, QStringLiteral("エラー"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(confirmed.count(), 0);
        EXPECT_FALSE(calibration.coordinatesSet);
        EXPECT_EQ(calibration.effectiveFigure, 0);
        EXPECT_EQ(calibration.x1Value, 0.0f);
        EXPECT_EQ(calibration.x2Value, 0.0f);
        EXPECT_EQ(child<QLineEdit>("txtX2")->text(), "300");
    }
}

}  // namespace
