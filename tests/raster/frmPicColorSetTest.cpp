// The binarisation dialog: its preview shows what the command will do, and
// only an accept lets the command run.
#include "raster/ui/frmPicColorSet.h"

#include "raster/ui/PictureBox.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ColourDialog {
    ColourDialog()
    {
        QImage picture(250, 186, QImage::Format_RGB32); // twice the preview, its left half red (200, 0, 0)
        picture.fill(Qt::white);
        QPainter(&picture).fillRect(0, 0, 125, 186, QColor(200, 0, 0));
        dialog.preparePreview(picture);
        dialog.show();
    }
    template <typename T = QPushButton>
    T* control(const char* name) { return dialog.findChild<T*>(name); }
    // Whether the left and the right half of the preview are black.
    std::pair<bool, bool> preview()
    {
        const QImage& p = control<PictureBox>("picPreview")->image();
        return {p.pixel(10, 40) == qRgb(0, 0, 0), p.pixel(110, 40) == qRgb(0, 0, 0)};
    }

    BinarizeSettings settings;
    FakeColorDialog colors;
    frmPicColorSet dialog{settings, colors};
};

TEST(PicColorSetDialog, PreviewShowsTheColourAndToleranceTheCommandWillUse)
{
    ColourDialog d;
    QSlider* slider = d.control<QSlider>("sldError");
    EXPECT_EQ(d.preview(), std::pair(false, false)) << "black at 30 %";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Return);
    EXPECT_TRUE(d.settings.binarizeAccepted);
    EXPECT_EQ(d.settings.tolerancePercent, 30.0f) << "keyboard moves wait: the binarisation uses the last preview";
    d.dialog.show();
    EXPECT_EQ(d.settings.tolerancePercent, 33.0f) << "the next showing previews what the slider says";

    // Red 200 against 255 needs a tolerance of at least 55 / 2.55 = 21.6 %.
    d.colors.answer = qRgb(255, 0, 0);
    QTest::mouseClick(d.control("cmdColorSet"), Qt::LeftButton);
    EXPECT_EQ(d.settings.curveColor, 0x0000ffu); // 0x00BBGGRR: red in the low byte
    EXPECT_EQ(d.preview(), std::pair(true, false));
    slider->setValue(10); // as if by keyboard: not yet previewed
    EXPECT_EQ(d.preview(), std::pair(true, false));
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(2, slider->height() / 2));
    EXPECT_LE(slider->value(), 10);
    EXPECT_EQ(d.settings.tolerancePercent, float(slider->value())) << "a released slider is previewed";
    EXPECT_EQ(d.preview(), std::pair(false, false));
    d.colors.answer = std::nullopt; // a cancelled colour dialog gives black
    QTest::mouseClick(d.control("cmdColorSet"), Qt::LeftButton);
    EXPECT_EQ(d.settings.curveColor, 0u);
    EXPECT_EQ(d.control<QFrame>("picSelectedColor")->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(d.colors.initials, (std::vector<QRgb>(2, qRgb(0, 0, 0)))) << "the colour dialog always opens on black";
}

TEST(PicColorSetDialog, KeysButtonsAndCloseSetTheOutcome)
{
    ColourDialog d;
    enum Outcome { Accept, Cancel, Ignore };
    // Key, modifiers, its text (so that Shift+L is a capital L), the control with the focus.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*, const char*, Outcome> cases[] = {
        {Qt::Key_Return, {}, "\r", "cmdCancel", Accept}, // the dialog sees the key first
        {Qt::Key_L, {}, "l", "cmdColorSet", Accept}, {Qt::Key_L, Qt::ShiftModifier, "L", "sldError", Ignore},
        {Qt::Key_Escape, {}, "\x1b", "sldError", Cancel}, {Qt::Key_Space, {}, " ", "cmdCancel", Cancel},
        {Qt::Key_unknown, {}, "", "", Cancel} /* the window closed */};
    for (const auto& [key, modifiers, text, focus, outcome] : cases) {
        SCOPED_TRACE(testing::Message() << text << " on " << focus);
        d.dialog.show();
        d.settings.binarizeAccepted = outcome == Cancel; // a stale accept must not binarise the picture
        if (*focus) {
            QTest::sendKeyEvent(QTest::KeyAction::Click, d.control<QWidget>(focus), key, QString::fromLatin1(text), modifiers);
        } else {
            d.dialog.close();
        }
        EXPECT_EQ(d.settings.binarizeAccepted, outcome == Accept);
        EXPECT_EQ(d.dialog.isHidden(), outcome != Ignore);
    }
}

} // namespace
