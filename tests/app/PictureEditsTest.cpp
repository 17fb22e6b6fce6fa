// Binarisation and automatic erasure as the user runs them from the menu.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

QImage gridPicture()
{
    // A white picture with a full-width and a full-height black line (a frame
    // or grid line) and a short red stroke (a curve).
    QImage img(447, 335, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < img.width(); ++x)
        img.setPixel(x, 200, qRgb(0, 0, 0));
    for (int y = 0; y < img.height(); ++y)
        img.setPixel(300, y, qRgb(0, 0, 0));
    for (int x = 50; x < 90; ++x)
        img.setPixel(x, 60, qRgb(220, 20, 20));
    return img;
}

QRgb at(const MainWindowHarness& h, int x, int y) { return h.canvas()->image().pixel(x, y) & 0xffffff; }

TEST(PictureEdits, BinariseAgainstTheChosenColourAndUndoIt)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(gridPicture()));
    const QImage before = h.canvas()->image().copy();
    h.fakes.colors.answer = qRgb(255, 0, 0);
    h.withDialog("frmPicColorSet", [](QWidget* d) {
        d->findChild<QWidget*>("cmdColorSet")->setFocus();
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorSet"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorOptionSet"), Qt::LeftButton);
    }, [&] { h.window->mnuToolDiValue_Click(); });

    EXPECT_EQ(at(h, 60, 60), 0x000000u) << "the red stroke is near the curve colour";
    EXPECT_EQ(at(h, 10, 200), 0xffffffu) << "black lines are far from red";
    EXPECT_EQ(at(h, 10, 10), 0xffffffu);
    EXPECT_TRUE(h.status().isEmpty());
    EXPECT_EQ(h.find<QProgressBar>("ProgressBar1")->value(), 0);
    EXPECT_TRUE(h.find<QAction>("mnuEditUndo")->isEnabled());

    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), before);
}

TEST(PictureEdits, CancelledBinarisationChangesNothing)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(gridPicture()));
    const QImage before = h.canvas()->image().copy();
    h.withDialog("frmPicColorSet", [](QWidget* d) {
        QTest::keyClick(d, Qt::Key_Escape);
    }, [&] { h.window->mnuToolDiValue_Click(); });
    EXPECT_EQ(h.canvas()->image(), before);
    EXPECT_FALSE(h.find<QAction>("mnuEditUndo")->isEnabled());
}

TEST(PictureEdits, AutoEraseRemovesLongLinesKeepsStrokesAndShowsMarkersAfter)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(gridPicture()));
    h.window->tbToolbar_ButtonClick(1);  // pen: markers hidden
    ASSERT_FALSE(h.find("linX1")->isVisible());
    h.window->mnuToolAutoErase_Click();
    EXPECT_EQ(at(h, 10, 200), 0xffffffu);
    EXPECT_EQ(at(h, 300, 10), 0xffffffu);
    EXPECT_EQ(at(h, 60, 60), qRgb(220, 20, 20) & 0xffffffu);
    EXPECT_TRUE(h.find("linX1")->isVisible()) << "the ten calibration markers come back whatever the tool";
    EXPECT_TRUE(h.find("lblY2Index")->isVisible());
    EXPECT_FALSE(h.find("lblStartPointC")->isVisible());
    EXPECT_TRUE(h.status().isEmpty());

    h.window->mnuEditUndo_Click();
    EXPECT_EQ(at(h, 10, 200), 0x000000u);
    h.window->mnuEditRedo_Click();
    EXPECT_EQ(at(h, 10, 200), 0xffffffu);
}

TEST(PictureEdits, EditsStartFromThePictureWithoutTraceMarks)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(gridPicture()));
    h.confirmCalibration("0", "0", "1", "1");
    h.window->tbToolbar_ButtonClick(8);
    ASSERT_TRUE(h.window->viewState().traceMarksShown);
    h.window->mnuToolAutoErase_Click();
    EXPECT_FALSE(h.window->viewState().traceMarksShown);
    const QImage& c = h.canvas()->image();
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            ASSERT_NE(c.pixel(x, y) & 0xffffff, 0xff0000u) << "no red circle survives at " << x << "," << y;
}

} // namespace
