// Resizing the main window: the canvas fills the space between the rulers and
// the data sheet and every marker stays on its point of the picture.
#include "support/MainWindowHarness.h"

#include "raster/CanvasPictureMapping.h"
#include "raster/Stretch.h"

#include <gtest/gtest.h>

namespace {

// Where each marker points on the picture: the reference lines, the start
// cross's centre and the column the tracer stops at.
std::vector<double> markerSpots(const MainWindowHarness& h, QSize picture)
{
    const MarkerGeometry& m = h.window->markers();
    const AxisCalibration& c = h.window->calibration();
    const CanvasPictureMapping map(h.canvas()->image().size(), picture);
    const TwipsRect& start = m.lblStartPointC;
    return {map.x().toPicture(c.refX1Pos), map.x().toPicture(c.refX2Pos), map.y().toPicture(c.refY1Pos),
            map.y().toPicture(c.refY2Pos), map.x().toPicture(start.left + start.width / 2),
            map.y().toPicture(start.top + start.height / 2), map.x().toPicture(m.lblEndLine.left - m.lblEndLine.width / 2)};
}

void expectSameSpots(const std::vector<double>& got, const std::vector<double>& want, double tolerance)
{
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance) << "spot " << i;
}

// Scaling the twips alone would move every marker by up to half a canvas
// pixel of the picture (a quarter of a picture pixel here at twice the width).
TEST(Layout, ResizesKeepEveryMarkerOnItsSpotOfThePicture)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture(1600, 1200)));
    const int w = h.canvas()->width();
    const std::vector<double> spots = markerSpots(h, {1600, 1200});
    h.resizeClient(591 + w, 407);
    ASSERT_EQ(h.canvas()->width(), 2 * w);
    EXPECT_EQ(h.find("picXAxis")->width(), 2 * w);
    EXPECT_EQ(h.canvas()->image().size(), QSize(2 * w, 335));
    expectSameSpots(markerSpots(h, {1600, 1200}), spots, 1e-3);
    const MarkerGeometry& m = h.window->markers();
    const AxisCalibration& c = h.window->calibration();
    EXPECT_FLOAT_EQ(c.refY1Pos, 3600) << "heights did not change";
    EXPECT_FLOAT_EQ(m.lblXY1.left, c.refX1Pos - 60);
    EXPECT_FLOAT_EQ(m.lblEndLineTxt.left, m.lblEndLine.left + 120);
    EXPECT_FLOAT_EQ(m.shpRectangle.left + m.shpRectangle.width / 2, m.lblStartPointC.left + 67.5f);
}

TEST(Layout, MarkersKeepTheirPlaceOverManyResizesAndAMinimise)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblStartPointC", 30, 40);
    h.dragMarker("lblEndLine", -20, 0);
    const AxisCalibration before = h.window->calibration();
    const MarkerGeometry beforeMarkers = h.window->markers();
    const std::vector<double> spots = markerSpots(h, {400, 300});
    for (int i = 0; i < 10; ++i) {
        h.resizeClient(650 + 37 * i, 420 + 23 * (i % 4));
        expectSameSpots(markerSpots(h, {400, 300}), spots, 1e-3);
    }
    h.resizeClient(591, 407);
    const QImage picture = h.canvas()->image().copy();
    h.window->showMinimized();
    QApplication::processEvents();
    h.window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(h.canvas()->image(), picture);
    const AxisCalibration& after = h.window->calibration();
    EXPECT_NEAR(after.refX1Pos, before.refX1Pos, 0.01);
    EXPECT_NEAR(after.refY2Pos, before.refY2Pos, 0.01);
    const MarkerGeometry& afterMarkers = h.window->markers();
    EXPECT_NEAR(afterMarkers.lblStartPointC.left, beforeMarkers.lblStartPointC.left, 0.01);
    EXPECT_NEAR(afterMarkers.lblStartPointC.top, beforeMarkers.lblStartPointC.top, 0.01);
    EXPECT_NEAR(afterMarkers.lblEndLine.left, beforeMarkers.lblEndLine.left, 0.01);
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
        const QImage sharp = stretchImage(picture, size);
        ASSERT_NE(stretchImage(before, size), sharp);
        EXPECT_EQ(h.canvas()->image(), edited ? stretchImage(before, size) : sharp);
        if (!edited)
            h.clickOnCanvas({9, 9});
        h.window->mnuEditUndo_Click();
        EXPECT_EQ(h.canvas()->image(), sharp);
    }
}

} // namespace
