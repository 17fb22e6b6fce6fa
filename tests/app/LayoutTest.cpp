// Resizing the main window: the canvas fills the space between the rulers and
// the data sheet and every marker stays on its point of the picture.
#include "support/MainWindowHarness.h"

#include "raster/Stretch.h"

#include <gtest/gtest.h>

namespace {

TEST(Layout, DoublingTheCanvasWidthDoublesHorizontalMarkerPositions)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    const int w = h.canvas()->width();
    h.resizeClient(591 + w, 407);
    ASSERT_EQ(h.canvas()->width(), 2 * w);
    const MarkerGeometry& m = h.window->markers();
    EXPECT_FLOAT_EQ(m.linX1, 1600);
    EXPECT_FLOAT_EQ(m.lblXY1.left, 1540);
    EXPECT_FLOAT_EQ(m.linY1, 3600) << "heights did not change";
    EXPECT_FLOAT_EQ(h.window->calibration().refX2Pos, 10460);
    EXPECT_FLOAT_EQ(m.lblEndLineTxt.left, 11160);
    EXPECT_FLOAT_EQ(m.shpRectangle.left + m.shpRectangle.width / 2, m.lblStartPointC.left + 67.5f);
    EXPECT_EQ(h.find("picXAxis")->width(), 2 * w);
    EXPECT_EQ(h.canvas()->image().size(), QSize(2 * w, 335));
}

TEST(Layout, MarkersKeepTheirPlaceOverManyResizesAndAMinimise)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblStartPointC", 30, 40);
    h.dragMarker("lblEndLine", -20, 0);
    const MarkerGeometry before = h.window->markers();
    const double width = h.canvas()->scaleWidth();
    for (int i = 0; i < 10; ++i) {
        h.resizeClient(650 + 37 * i, 420 + 23 * (i % 4));
        EXPECT_NEAR(h.window->markers().lblStartPointC.left / h.canvas()->scaleWidth(),
                    before.lblStartPointC.left / width, 1e-3);
    }
    h.resizeClient(591, 407);
    const QImage picture = h.canvas()->image().copy();
    h.window->showMinimized();
    QApplication::processEvents();
    h.window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(h.canvas()->image(), picture);
    const MarkerGeometry& after = h.window->markers();
    EXPECT_NEAR(after.linX1, before.linX1, 2);
    EXPECT_NEAR(after.linY2, before.linY2, 2);
    EXPECT_NEAR(after.lblStartPointC.left, before.lblStartPointC.left, 2);
    EXPECT_NEAR(after.lblStartPointC.top, before.lblStartPointC.top, 2);
    EXPECT_NEAR(after.lblEndLine.left, before.lblEndLine.left, 2);
}

// A picture not edited since it was opened is stretched afresh from the loaded
// picture, so a grown window shows it sharp; an edited one keeps stretching
// its snapshot. Undo goes back to the picture as opened, sharp at the new size.
TEST(Layout, AGrownWindowShowsAnUneditedPictureSharp)
{
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited);
        MainWindowHarness h;
        const QImage picture = samplePicture(1600, 1200);
        ASSERT_TRUE(h.start(picture));
        h.window->tbToolbar_ButtonClick(3);
        if (edited)
            h.clickOnCanvas({5, 5});
        const QImage before = h.canvas()->image().copy();
        h.resizeClient(591 + h.canvas()->width(), 560);
        const QSize size = h.canvas()->image().size();
        const QImage sharp = Picture::fromImage(picture).stretched(size);
        ASSERT_NE(stretchImage(before, size), sharp);
        EXPECT_EQ(h.canvas()->image(), edited ? stretchImage(before, size) : sharp);
        if (!edited)
            h.clickOnCanvas({9, 9});
        h.window->mnuEditUndo_Click();
        EXPECT_EQ(h.canvas()->image(), sharp);
    }
}

} // namespace
