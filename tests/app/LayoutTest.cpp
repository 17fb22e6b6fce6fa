// Resizing the main window: the canvas fills the space between the rulers and
// the data sheet and every marker stays on its point of the picture.
#include "support/MainWindowHarness.h"

#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

// Resizes so that the client area (below the menu bar) is w x h pixels.
void resizeClient(MainWindowHarness& h, int w, int hgt)
{
    const int menu = h.window->menuBar()->height();
    h.window->resize(w, hgt + menu);
    QApplication::processEvents();
    QTest::qWait(10);
}

TEST(Layout, DoublingTheCanvasWidthDoublesHorizontalMarkerPositions)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_EQ(h.canvas()->width(), 447);
    resizeClient(h, 591 + 447, 407);
    ASSERT_EQ(h.canvas()->width(), 894);
    const MarkerGeometry& m = h.window->markers();
    EXPECT_FLOAT_EQ(m.linX1, 1600);
    EXPECT_FLOAT_EQ(m.lblXY1.left, 1540);
    EXPECT_FLOAT_EQ(m.lblX1Index.left, 1495);
    EXPECT_FLOAT_EQ(m.linX2, 10460);
    EXPECT_FLOAT_EQ(m.linY1, 3600) << "heights did not change";
    EXPECT_FLOAT_EQ(h.window->calibration().refX1Pos, 1600);
    EXPECT_FLOAT_EQ(h.window->calibration().refX2Pos, 10460);
    EXPECT_FLOAT_EQ(m.lblEndLine.left, 11040);
    EXPECT_FLOAT_EQ(m.lblEndLineTxt.left, 11160);
    // The start frame stays centred on the start cross.
    EXPECT_FLOAT_EQ(m.shpRectangle.left + m.shpRectangle.width / 2, m.lblStartPointC.left + 67.5f);
    EXPECT_EQ(h.find("picXAxis")->width(), 894);
    EXPECT_EQ(h.find("rtbDataSheet")->x(), 22 + 894);
    EXPECT_EQ(h.canvas()->image().size(), QSize(894, 335));
}

TEST(Layout, MarkersKeepTheirPlaceOverManyResizes)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblStartPointC", 30, 40);
    h.dragMarker("lblEndLine", -20, 0);
    const MarkerGeometry before = h.window->markers();
    const QSize first = h.window->size();
    for (int i = 0; i < 10; ++i) {
        resizeClient(h, 650 + 37 * i, 420 + 23 * (i % 4));
        // On the picture the start cross stays at the same fraction of the canvas.
        const MarkerGeometry& m = h.window->markers();
        EXPECT_NEAR(m.lblStartPointC.left / h.canvas()->scaleWidth(),
                    before.lblStartPointC.left / 6705.0, 1e-3);
    }
    h.window->resize(first);
    QApplication::processEvents();
    const MarkerGeometry& after = h.window->markers();
    EXPECT_NEAR(after.linX1, before.linX1, 2);
    EXPECT_NEAR(after.linY2, before.linY2, 2);
    EXPECT_NEAR(after.lblStartPointC.left, before.lblStartPointC.left, 2);
    EXPECT_NEAR(after.lblStartPointC.top, before.lblStartPointC.top, 2);
    EXPECT_NEAR(after.lblEndLine.left, before.lblEndLine.left, 2);
}

TEST(Layout, TheWindowCannotShrinkBelowItsMinimum)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->resize(200, 150);
    QApplication::processEvents();
    EXPECT_GE(h.window->centralWidget()->width(), 8415 / 15);
    EXPECT_GE(h.window->centralWidget()->height(), 4310 / 15);
    EXPECT_GT(h.canvas()->width(), 0);
    EXPECT_GT(h.canvas()->height(), 0);
}

TEST(Layout, MinimiseAndRestoreChangeNothing)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    const QImage picture = h.canvas()->image().copy();
    const MarkerGeometry before = h.window->markers();
    h.window->showMinimized();
    QApplication::processEvents();
    h.window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(h.canvas()->image(), picture);
    EXPECT_FLOAT_EQ(h.window->markers().linX1, before.linX1);
    EXPECT_FLOAT_EQ(h.window->markers().lblEndLine.left, before.lblEndLine.left);
}

TEST(Layout, ResizeShowsTheCurrentSnapshotWithoutTraceMarks)
{
    // A dark horizontal line across the picture for the tracer to follow.
    QImage picture(447, 335, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 447; ++x)
        picture.setPixel(x, 128, qRgb(0, 0, 0));
    MainWindowHarness h;
    ASSERT_TRUE(h.start(picture));
    h.confirmCalibration("0", "0", "1", "1");
    h.window->tbToolbar_ButtonClick(8);
    ASSERT_TRUE(h.window->viewState().traceMarksShown);
    auto hasRed = [&] {
        const QImage& c = h.canvas()->image();
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x)
                if (QColor(c.pixel(x, y)) == QColor(255, 0, 0))
                    return true;
        return false;
    };
    ASSERT_TRUE(hasRed()) << "the trace drew its circles";
    resizeClient(h, 700, 450);
    EXPECT_FALSE(hasRed()) << "a re-layout repaints the snapshot, which has no marks";
    EXPECT_TRUE(h.window->viewState().traceMarksShown) << "the flag stays for the next clean-up";
}

TEST(Layout, ResizeAfterUndoShowsThePictureBeforeTheEdit)
{
    QImage white(447, 335, QImage::Format_RGB32);
    white.fill(Qt::white);
    MainWindowHarness h;
    ASSERT_TRUE(h.start(white));
    h.window->tbToolbar_ButtonClick(2);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));  // white on white
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    h.window->mnuEditUndo_Click();
    resizeClient(h, 591, 407 + 100);
    const QImage& c = h.canvas()->image();
    int black = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            black += (c.pixel(x, y) & 0xffffff) == 0;
    EXPECT_EQ(black, 0) << "the pen dot was undone and stays undone after a resize";
    h.window->mnuEditRedo_Click();
    resizeClient(h, 591, 407);
    EXPECT_EQ(h.canvas()->image().pixel(98, 102) & 0xffffff, 0u);
}

} // namespace
