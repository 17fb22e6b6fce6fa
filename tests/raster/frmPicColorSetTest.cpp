#include "raster/ui/frmPicColorSet.h"

#include "platform/Services.h"
#include "platform/qt/PictureBox.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>

namespace {

class FakeColorDialog : public ColorDialog {
public:
    std::optional<QRgb> chooseColor(QRgb initial) override
    {
        initials.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const std::optional<QRgb> a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<QRgb>> answers;
    std::vector<QRgb> initials;
};

// Left half red (200, 0, 0), right half white, twice the preview size.
QImage halfRedPicture()
{
    QImage image(250, 186, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width() / 2; ++x)
            image.setPixel(x, y, qRgb(200, 0, 0));
    return image;
}

class PicColorSetDialog : public testing::Test {
protected:
    void SetUp() override
    {
        dialog.preparePreview(halfRedPicture());
        dialog.show();
    }
    template <typename T>
    T* control(const char* name) { return dialog.findChild<T*>(name); }
    QSlider* slider() { return control<QSlider>("sldError"); }
    const QImage& preview() { return control<PictureBox>("picPreview")->image(); }
    bool previewLeftBlack() { return preview().pixel(10, 40) == qRgb(0, 0, 0); }
    bool previewRightBlack() { return preview().pixel(110, 40) == qRgb(0, 0, 0); }

    BinarizeSettings settings;
    FakeColorDialog colors;
    frmPicColorSet dialog{settings, colors};
};

TEST_F(PicColorSetDialog, firstShowingPreviewsBlackWithTolerance30)
{
    EXPECT_EQ(settings.curveColor, 0u);
    EXPECT_EQ(settings.tolerancePercent, 30.0f);
    EXPECT_EQ(preview().size(), QSize(125, 93));
    EXPECT_FALSE(previewLeftBlack());
    EXPECT_FALSE(previewRightBlack());
    EXPECT_EQ(dialog.size(), QSize(364, 220));
}

TEST_F(PicColorSetDialog, chosenColourIsPreviewedAndCancelGivesBlack)
{
    colors.answers = {qRgb(200, 0, 0), std::nullopt};
    QTest::mouseClick(control<QPushButton>("cmdColorSet"), Qt::LeftButton);
    EXPECT_EQ(settings.curveColor, 0x0000c8u); // 0x00BBGGRR: red in the low byte
    EXPECT_EQ(dialog.selectedColor(), 0x0000c8u);
    EXPECT_TRUE(previewLeftBlack());
    EXPECT_FALSE(previewRightBlack());

    QTest::mouseClick(control<QPushButton>("cmdColorSet"), Qt::LeftButton);
    EXPECT_EQ(dialog.selectedColor(), 0u);
    EXPECT_EQ(settings.curveColor, 0u);
    EXPECT_EQ(control<QFrame>("picSelectedColor")->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_FALSE(previewLeftBlack());
    // The colour dialog always opens on black.
    EXPECT_EQ(colors.initials, (std::vector<QRgb>{qRgb(0, 0, 0), qRgb(0, 0, 0)}));
}

TEST_F(PicColorSetDialog, keyboardSliderMovesDoNotReachTheSettings)
{
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(slider(), Qt::Key_Right);
    ASSERT_EQ(slider()->value(), 33);
    QTest::keyClick(slider(), Qt::Key_Return);
    EXPECT_TRUE(settings.binarizeAccepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.tolerancePercent, 30.0f);

    // The next showing previews with what the slider now says, and the slider
    // kept its position while the dialog was hidden.
    dialog.show();
    EXPECT_EQ(slider()->value(), 33);
    EXPECT_EQ(settings.tolerancePercent, 33.0f);
}

TEST_F(PicColorSetDialog, mouseReleaseOnTheSliderUpdatesThePreview)
{
    colors.answers = {qRgb(255, 0, 0)};
    QTest::mouseClick(control<QPushButton>("cmdColorSet"), Qt::LeftButton);
    // Red 200 against 255 needs a tolerance of at least 55 / 2.55 = 21.6 %.
    ASSERT_TRUE(previewLeftBlack());
    slider()->setValue(10); // as if by keyboard: not yet previewed
    EXPECT_TRUE(previewLeftBlack());
    QTest::mouseClick(slider(), Qt::LeftButton, {}, QPoint(2, slider()->height() / 2));
    EXPECT_LE(slider()->value(), 10);
    EXPECT_EQ(settings.tolerancePercent, float(slider()->value()));
    EXPECT_FALSE(previewLeftBlack());
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    const char* focus;
    bool startAccepted;
    bool accepted;
    bool hidden;
};

class PicColorSetKeys : public PicColorSetDialog, public testing::WithParamInterface<KeyCase> {};

TEST_P(PicColorSetKeys, enterAndLetterLAcceptEscapeCancels)
{
    const KeyCase& c = GetParam();
    settings.binarizeAccepted = c.startAccepted;
    // The event carries its own text so that Shift+L really is a capital L.
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
    QApplication::sendEvent(dialog.findChild<QWidget*>(c.focus), &press);
    EXPECT_EQ(settings.binarizeAccepted, c.accepted);
    EXPECT_EQ(dialog.isHidden(), c.hidden);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PicColorSetKeys,
    testing::Values(KeyCase{"returnOnSlider", Qt::Key_Return, {}, "\r", "sldError", false, true, true},
                    KeyCase{"keypadEnter", Qt::Key_Enter, Qt::KeypadModifier, "\r", "sldError", false, true, true},
                    // The dialog sees the key before the focused Cancel button.
                    KeyCase{"returnOnCancel", Qt::Key_Return, {}, "\r", "cmdCancel", false, true, true},
                    KeyCase{"letterL", Qt::Key_L, {}, "l", "cmdColorSet", false, true, true},
                    KeyCase{"capitalLIgnored", Qt::Key_L, Qt::ShiftModifier, "L", "sldError", false, false, false},
                    KeyCase{"escape", Qt::Key_Escape, {}, "\x1b", "sldError", true, false, true}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(PicColorSetDialog, buttonsAndWindowCloseSetTheOutcome)
{
    settings.binarizeAccepted = false;
    QTest::mouseClick(control<QPushButton>("cmdColorOptionSet"), Qt::LeftButton);
    EXPECT_TRUE(settings.binarizeAccepted);
    EXPECT_TRUE(dialog.isHidden());

    dialog.show();
    QTest::mouseClick(control<QPushButton>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(settings.binarizeAccepted);
    EXPECT_TRUE(dialog.isHidden());

    // Closing the window is a cancel: a stale accept from an earlier use must
    // not binarise the picture.
    settings.binarizeAccepted = true;
    dialog.show();
    dialog.close();
    EXPECT_FALSE(settings.binarizeAccepted);
    EXPECT_TRUE(dialog.isHidden());
}

} // namespace
