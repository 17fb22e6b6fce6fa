#include "raster/ui/frmPicColorSet.h"

#include "platform/qt/PictureBox.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Records the colour the dialog opened on.
struct RecordingColorDialog : FakeColorDialog {
    std::vector<QRgb> initials;
    std::optional<QRgb> chooseColor(QRgb initial) override { initials.push_back(initial); return answer; }
};

class PicColorSetDialog : public testing::Test {
protected:
    void SetUp() override
    {
        // Left half red (200, 0, 0), right half white, twice the preview size.
        QImage picture(250, 186, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < 186; ++y)
            for (int x = 0; x < 125; ++x)
                picture.setPixel(x, y, qRgb(200, 0, 0));
        dialog.preparePreview(picture);
        dialog.show();
    }
    template <typename T>
    T* control(const char* name) { return dialog.findChild<T*>(name); }
    QSlider* slider() { return control<QSlider>("sldError"); }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    const QImage& preview() { return control<PictureBox>("picPreview")->image(); }
    bool previewLeftBlack() { return preview().pixel(10, 40) == qRgb(0, 0, 0); }
    bool previewRightBlack() { return preview().pixel(110, 40) == qRgb(0, 0, 0); }

    BinarizeSettings settings;
    RecordingColorDialog colors;
    frmPicColorSet dialog{settings, colors};
};

TEST_F(PicColorSetDialog, firstShowingPreviewsBlackAt30AndKeyboardMovesWait)
{
    EXPECT_EQ(settings.curveColor, 0u);
    EXPECT_EQ(settings.tolerancePercent, 30.0f);
    EXPECT_EQ(preview().size(), QSize(125, 93));
    EXPECT_FALSE(previewLeftBlack());
    EXPECT_FALSE(previewRightBlack());

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(slider(), Qt::Key_Right);
    QTest::keyClick(slider(), Qt::Key_Return);
    EXPECT_TRUE(settings.binarizeAccepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.tolerancePercent, 30.0f) << "the binarisation uses the last preview";
    // The next showing previews with what the slider, unmoved while hidden, says.
    dialog.show();
    EXPECT_EQ(settings.tolerancePercent, 33.0f);
}

TEST_F(PicColorSetDialog, chosenColourAndSliderReleaseArePreviewedCancelGivesBlack)
{
    colors.answer = qRgb(255, 0, 0);
    click("cmdColorSet");
    EXPECT_EQ(settings.curveColor, 0x0000ffu); // 0x00BBGGRR: red in the low byte
    // Red 200 against 255 needs a tolerance of at least 55 / 2.55 = 21.6 %.
    EXPECT_TRUE(previewLeftBlack());
    EXPECT_FALSE(previewRightBlack());
    slider()->setValue(10); // as if by keyboard: not yet previewed
    EXPECT_TRUE(previewLeftBlack());
    QTest::mouseClick(slider(), Qt::LeftButton, {}, QPoint(2, slider()->height() / 2));
    EXPECT_LE(slider()->value(), 10);
    EXPECT_EQ(settings.tolerancePercent, float(slider()->value()));
    EXPECT_FALSE(previewLeftBlack());

    colors.answer = qRgb(200, 0, 0);
    click("cmdColorSet");
    EXPECT_TRUE(previewLeftBlack());
    colors.answer = std::nullopt;
    click("cmdColorSet");
    EXPECT_EQ(settings.curveColor, 0u);
    EXPECT_EQ(control<QFrame>("picSelectedColor")->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_FALSE(previewLeftBlack());
    // The colour dialog always opens on black.
    EXPECT_EQ(colors.initials, (std::vector<QRgb>(3, qRgb(0, 0, 0))));
}

TEST_F(PicColorSetDialog, keysButtonsAndCloseSetTheOutcome)
{
    enum Outcome { Accept, Cancel, Ignore };
    // The event carries its own text so that Shift+L really is a capital L.
    auto key = [this](Qt::Key k, Qt::KeyboardModifiers m, const char* text, const char* focus) {
        return [=, this] {
            QKeyEvent press(QEvent::KeyPress, k, m, QString::fromLatin1(text));
            QApplication::sendEvent(dialog.findChild<QWidget*>(focus), &press);
        };
    };
    const std::tuple<const char*, std::function<void()>, Outcome> cases[] = {
        {"Return", key(Qt::Key_Return, {}, "\r", "sldError"), Accept},
        {"keypad Enter", key(Qt::Key_Enter, Qt::KeypadModifier, "\r", "sldError"), Accept},
        {"Return on Cancel, which the dialog sees first", key(Qt::Key_Return, {}, "\r", "cmdCancel"), Accept},
        {"l", key(Qt::Key_L, {}, "l", "cmdColorSet"), Accept},
        {"L", key(Qt::Key_L, Qt::ShiftModifier, "L", "sldError"), Ignore},
        {"Escape", key(Qt::Key_Escape, {}, "\x1b", "sldError"), Cancel},
        {"OK button", [this] { click("cmdColorOptionSet"); }, Accept},
        {"Cancel button", [this] { click("cmdCancel"); }, Cancel},
        // Closing the window is a cancel: a stale accept must not binarise the picture.
        {"window closed", [this] { dialog.close(); }, Cancel}};
    for (const auto& [name, act, outcome] : cases) {
        SCOPED_TRACE(name);
        dialog.show();
        settings.binarizeAccepted = outcome == Cancel;
        act();
        EXPECT_EQ(settings.binarizeAccepted, outcome == Accept);
        EXPECT_EQ(dialog.isHidden(), outcome != Ignore);
    }
}

} // namespace
