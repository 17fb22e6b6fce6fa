// Binarisation, automatic erasure and undo as the user runs them from the menus.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

// Pictures the size of the canvas, so that they reach it pixel for pixel.
QImage canvasSized(const MainWindowHarness& h, QColor ground)
{
    QImage img(h.canvas()->size(), QImage::Format_RGB32);
    img.fill(ground);
    return img;
}

// White, with a full-width and a full-height black line, a row black over half
// its width, and a short red stroke.
QImage gridPicture(const MainWindowHarness& h)
{
    QImage img = canvasSized(h, Qt::white);
    for (int x = 0; x < img.width(); ++x) {
        img.setPixel(x, 200, qRgb(0, 0, 0));
        img.setPixel(x, 250, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    for (int y = 0; y < img.height(); ++y)
        img.setPixel(300, y, qRgb(0, 0, 0));
    for (int x = 50; x < 90; ++x)
        img.setPixel(x, 60, qRgb(220, 20, 20));
    return img;
}

QRgb at(const MainWindowHarness& h, int x, int y) { return h.canvas()->image().pixel(x, y) & 0xffffff; }

// Traces from the start cross moved onto `row`.
void traceOnce(MainWindowHarness& h, int row)
{
    const TwipsRect& start = h.window->markers().lblStartPointC;
    h.dragMarker("lblStartPointC", 0, row - static_cast<int>((start.top + start.height / 2) / 15));
    h.confirmCalibration("0", "0", "1", "1");
    h.window->tbToolbar_ButtonClick(8);
    ASSERT_TRUE(h.window->viewState().traceMarksShown);
    ASSERT_GT(countPixels(h.canvas()->image(), qRgb(255, 0, 0)), 0) << "the trace drew its circles";
}

TEST(PictureEdits, BinariseAgainstTheChosenColourOrCancel)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.open(gridPicture(h));
    const QImage before = h.canvas()->image().copy();
    h.withDialog("frmPicColorSet", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); },
                 [&] { h.window->mnuToolDiValue_Click(); });
    EXPECT_EQ(h.canvas()->image(), before);
    EXPECT_FALSE(h.find<QAction>("mnuEditUndo")->isEnabled());

    h.fakes.colors.answer = qRgb(255, 0, 0);
    h.withDialog("frmPicColorSet", [](QWidget* d) {
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorSet"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorOptionSet"), Qt::LeftButton);
    }, [&] { h.window->mnuToolDiValue_Click(); });
    EXPECT_EQ(at(h, 60, 60), 0x000000u) << "the red stroke is near the curve colour";
    EXPECT_EQ(at(h, 10, 200), 0xffffffu) << "black is far from red";
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 40);
    EXPECT_TRUE(h.status().isEmpty());
    EXPECT_EQ(h.find<QProgressBar>("ProgressBar1")->value(), 0);
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), before);
}

TEST(PictureEdits, AutoEraseRemovesLongLinesOnTheWholeCanvas)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.open(gridPicture(h));
    h.window->tbToolbar_ButtonClick(1);  // pen: markers hidden
    h.window->mnuToolAutoErase_Click();
    // Rows are judged over the canvas width, columns over its height: the half
    // black row goes, and a uniform grey 150 would have stayed.
    QImage expected = canvasSized(h, Qt::white);
    for (int x = 50; x < 90; ++x)
        expected.setPixel(x, 60, qRgb(220, 20, 20));
    EXPECT_EQ(h.canvas()->image(), expected);
    EXPECT_TRUE(h.find("linX1")->isVisible()) << "the ten calibration markers come back whatever the tool";
    EXPECT_TRUE(h.find("lblY2Index")->isVisible());
    EXPECT_FALSE(h.find("lblStartPointC")->isVisible());
    EXPECT_TRUE(h.status().isEmpty());
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), gridPicture(h));

    h.open(canvasSized(h, QColor(150, 150, 150)));
    h.window->mnuToolAutoErase_Click();
    EXPECT_EQ(h.canvas()->image(), canvasSized(h, QColor(150, 150, 150)));
}

TEST(PictureEdits, EditsStartFromThePictureWithoutTraceMarks)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.open(gridPicture(h));
    traceOnce(h, 200);
    h.window->mnuToolAutoErase_Click();
    EXPECT_FALSE(h.window->viewState().traceMarksShown);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 0, 0)), 0);
}

TEST(PictureEdits, UndoAfterATraceStaysUndoneThroughToolsAndResizes)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture(400, 300)));
    // A pen dot near the top, away from the curve the tracer follows.
    const auto dotShown = [&h] { return countPixels(h.canvas()->image().copy(150, 0, 100, 40), qRgb(0, 0, 0)) > 0; };
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 20));
    ASSERT_TRUE(dotShown());
    h.window->tbToolbar_ButtonClick(5);
    traceOnce(h, h.canvas()->height() / 2);
    const int traced = countPixels(h.canvas()->image(), qRgb(255, 0, 0));
    h.resizeClient(650, 450);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 0, 0)), 0) << "a re-layout repaints without marks";
    h.resizeClient(591, 407);

    h.window->mnuEditUndo_Click();
    for (int button : {1, 5, 11}) {
        h.window->tbToolbar_ButtonClick(button);
        EXPECT_FALSE(dotShown()) << "button " << button << " brought back the undone dot";
    }
    h.resizeClient(600, 420);
    EXPECT_FALSE(dotShown());
    EXPECT_TRUE(h.find<QAction>("mnuEditRedo")->isEnabled());
    h.resizeClient(591, 407);
    h.window->mnuEditRedo_Click();
    EXPECT_TRUE(dotShown());

    // The next trace starts from the redone picture.
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 0, 0)), traced);
    h.window->tbToolbar_ButtonClick(6);
    EXPECT_TRUE(dotShown());
}

} // namespace
