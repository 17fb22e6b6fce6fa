// Dragging the reference markers, the start point and the end line on the real window.
#include "platform/qt/QtPointerConfinement.h"
#include "support/MainWindowHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(Markers, OnlyTheMarkersStartADrag)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    // Presses these controls leave unhandled reach the window itself.
    for (const char* name : {"picXAxis", "picYAxis", "lblX1Index", "StatusBar1", "ProgressBar1", "tbToolbar", "client"}) {
        QWidget* w = h.find(name);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_FALSE(h.fakes.pointer.rect.has_value()) << name;
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        EXPECT_NE(h.window->cursor().shape(), Qt::SizeAllCursor) << name;
    }
    EXPECT_EQ(h.fakes.pointer.confines, 0);
}

TEST(Markers, ADraggedReferenceIsThePixelItsLinesAreDrawnOnAndReadsItsTypedValue)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblXY1", 10, 4);
    // 800 + 150 twips is pixel 63.3: the line is drawn on pixel 63, and the
    // reference, the grab square and the ruler label follow it.
    EXPECT_EQ(h.find("linX1")->x(), 63);
    EXPECT_EQ(h.find("linY1")->y(), 244);
    EXPECT_FLOAT_EQ(h.window->calibration().refX1Pos, 945);
    EXPECT_FLOAT_EQ(h.window->calibration().refY1Pos, 3660);
    EXPECT_FLOAT_EQ(h.window->markers().lblX1Index.left, 885 - 45);
    // The pointer was confined to the canvas for the drag and set free on release.
    EXPECT_EQ(h.window->viewState().cursorClip, QRect(h.canvas()->mapToGlobal(QPoint(0, 0)), h.canvas()->size()));
    EXPECT_FALSE(h.fakes.pointer.rect.has_value());

    h.dragMarker("lblXY2", -5, 2);
    h.confirmCalibration("12.5", "-3", "250", "0.75");
    h.window->tbToolbar_ButtonClick(6);
    h.clickOnCanvas({h.find("linX1")->x(), h.find("linY1")->y()});
    h.clickOnCanvas({h.find("linX2")->x(), h.find("linY2")->y()});
    EXPECT_EQ(h.window->dataSheetText(), "12.5\t-3\n250\t0.75\n");
}

// On a picture twice the canvas a picture pixel is half a canvas pixel, on
// one half the canvas a step is a quarter of a canvas pixel; from reference 1
// at (800, 3600) twips, which is picture position (107.67, 481) on the first.
TEST(Markers, ArrowKeysMoveAReferenceByPicturePixelsAndShiftByCanvasPixels)
{
    const struct { double scale; Qt::Key key; Qt::KeyboardModifiers modifiers; float x, y; int lineX; } cases[] = {
        {2, Qt::Key_Right, Qt::NoModifier, 806.25f, 3600, 54},
        {2, Qt::Key_Left, Qt::NoModifier, 798.75f, 3600, 53},
        {2, Qt::Key_Up, Qt::NoModifier, 800, 3596.25f, 53},
        {2, Qt::Key_Down, Qt::ShiftModifier, 800, 3615, 53},
        {0.5, Qt::Key_Right, Qt::NoModifier, 802.5f, 3600, 54},
        {0.5, Qt::Key_Left, Qt::ShiftModifier, 785, 3600, 52},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.key);
        MainWindowHarness h;
        ASSERT_TRUE(h.start());
        h.open(samplePicture(int(h.canvas()->width() * c.scale), int(h.canvas()->height() * c.scale)));
        QTest::mouseClick(h.find("lblXY1"), Qt::LeftButton);
        QTest::keyClick(h.window->focusWidget(), c.key, c.modifiers);
        // The exact position is the reference; the line is drawn on its nearest pixel.
        EXPECT_FLOAT_EQ(h.window->calibration().refX1Pos, c.x);
        EXPECT_FLOAT_EQ(h.window->calibration().refY1Pos, c.y);
        EXPECT_EQ(h.find("linX1")->x(), c.lineX);
        EXPECT_TRUE(h.find("loupe")->isVisible());
    }

    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.open(samplePicture(h.canvas()->width() * 2, h.canvas()->height() * 2));
    // With the pointer over reference 2 the keys move it even from the data sheet.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(h.find("lblXY2"), &enter);
    QTest::keyClick(h.find("rtbDataSheet"), Qt::Key_Down);
    EXPECT_FLOAT_EQ(h.window->calibration().refY2Pos, 1443.75f);
    EXPECT_EQ(h.status(), "(X2, Y2) 画像上の位置 = (698.33, 193.5)");
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());
}

TEST(Markers, StartPointAndEndLineFollowThePointerWhereverGrabbed)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblStartPointC", 20, 10, QPoint(1, 7));
    const MarkerGeometry& m = h.window->markers();
    EXPECT_FLOAT_EQ(m.lblStartPointC.left, 840 + 300);
    EXPECT_FLOAT_EQ(m.lblStartPointC.top, 1920 + 150);
    EXPECT_FLOAT_EQ(m.lblStartPointTxt.top, 2070 + 120);
    EXPECT_FLOAT_EQ(m.shpRectangle.left, 1140 + 67.5f - 375) << "the scan frame stays centred on the cross";

    h.dragMarker("lblEndLine", -20, 15, QPoint(1, 30));
    EXPECT_FLOAT_EQ(m.lblEndLine.left, 5520 - 300);
    EXPECT_FLOAT_EQ(m.lblEndLine.top, 0) << "the end line moves only sideways";
    EXPECT_FLOAT_EQ(m.lblEndLineTxt.left, 5220 + 120);
}

TEST(Markers, MarkersDraggedToEachEdgeStayOnTheCanvas)
{
    const QPoint far[] = {{-2000, 0}, {2000, 0}, {0, -2000}, {0, 2000}};
    for (const QPoint d : far) {
        SCOPED_TRACE(testing::Message() << d.x() << "," << d.y());
        MainWindowHarness h;  // afresh: markers piled up on an edge would take each other's presses
        ASSERT_TRUE(h.start());
        const int w = h.canvas()->width(), hgt = h.canvas()->height();
        h.dragMarker("lblXY1", d.x(), d.y());
        // Reference 2 grabbed by the corner that would carry its lines past the edge.
        h.dragMarker("lblXY2", d.x(), d.y(), d.x() + d.y() < 0 ? QPoint(8, 8) : QPoint(0, 0));
        h.dragMarker("lblStartPointC", d.x(), d.y());
        h.dragMarker("lblEndLine", d.x(), d.y());
        const AxisCalibration& c = h.window->calibration();
        const int x1 = h.find("linX1")->x(), x2 = h.find("linX2")->x();
        const int y1 = h.find("linY1")->y(), y2 = h.find("linY2")->y();
        const int edgeX = d.x() < 0 ? 0 : w - 1, edgeY = d.y() < 0 ? 0 : hgt - 1;
        if (d.x() != 0) {
            EXPECT_EQ(x1, edgeX);
            EXPECT_EQ(x2, edgeX);
        } else {
            EXPECT_EQ(y1, edgeY);
            EXPECT_EQ(y2, edgeY);
        }
        EXPECT_TRUE(c.refX1Pos == x1 * 15 && c.refX2Pos == x2 * 15 && c.refY1Pos == y1 * 15 && c.refY2Pos == y2 * 15);
        const TwipsRect& s = h.window->markers().lblStartPointC;
        EXPECT_TRUE(QRectF(0, 0, w * 15, hgt * 15).contains(s.left + s.width / 2, s.top + s.height / 2));
        const QRect end = h.find("lblEndLine")->geometry();
        EXPECT_TRUE(end.left() >= 0 && end.right() < w) << end.left();
    }
}

TEST(Markers, RightButtonConfinesButMovesNothing)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QWidget* marker = h.find("lblXY2");
    QTest::mousePress(marker, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(h.fakes.pointer.rect.has_value());
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), marker->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QTest::mouseRelease(marker, Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_FLOAT_EQ(h.window->calibration().refX2Pos, 5230);
    EXPECT_FALSE(h.fakes.pointer.rect.has_value());
    EXPECT_EQ(marker->cursor().shape(), Qt::SizeAllCursor);

    // The second press of a double-click is a press like any other.
    QTest::mouseDClick(h.find("lblXY1"), Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    h.dragMarker("lblXY1", 5, 0);
    EXPECT_FLOAT_EQ(h.window->calibration().refX1Pos, 870);
}

// While it moves, a reference shows its typed values (once there are any); at
// the drop, where it came to rest on the picture.
TEST(Markers, DraggingShowsTheTypedValuesAndTheDropThePositionOnThePicture)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    const auto dragged = [&h](const char* name, int d) {
        QWidget* marker = h.find(name);
        QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QMouseEvent move(QEvent::MouseMove, QPointF(4 + d, 4 + d), marker->mapToGlobal(QPointF(4 + d, 4 + d)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(marker, &move);
        const QString moving = h.status();
        QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4 + d, 4 + d));
        return (moving + " | " + h.status()).toStdString();
    };
    // Canvas pixel (53 + 3, 240 + 3) is picture pixel (56.22, 218.06): the
    // canvas is a little larger than the 400 x 300 picture.
    EXPECT_EQ(dragged("lblXY1", 3), " | (X1, Y1) 画像上の位置 = (56.22, 218.06)");
    h.confirmCalibration("1.5", "-2", "100", "2000");
    EXPECT_EQ(dragged("lblXY2", 3), "(X2, Y2) = (100, 2000) | (X2, Y2) 画像上の位置 = (350.75, 89.1)");
}

// A dialog opened in the middle of a drag (a shortcut pressed with the button
// held) takes the release: the values already follow the moved lines, and the
// first move without a button frees the pointer.
TEST(Markers, AReleaseLostToADialogLeavesNeitherOldValuesNorATrappedPointer)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QWidget* marker = h.find("lblXY2");
    QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QMouseEvent move(QEvent::MouseMove, QPointF(24, 14), marker->mapToGlobal(QPointF(24, 14)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    const AxisCalibration& c = h.window->calibration();
    EXPECT_NEAR(c.refX2Pos, 5230 + 20 * 15, 7.5);
    EXPECT_NE(c.refY2Pos, 1440);

    QtPointerConfinement pointer;
    pointer.confine(QRect(0, 0, 100, 100));
    const auto moveWith = [&](Qt::MouseButtons buttons) {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(h.find("rtbDataSheet"), &e);
    };
    moveWith(Qt::LeftButton);
    EXPECT_TRUE(pointer.current().has_value());
    moveWith(Qt::NoButton);
    EXPECT_FALSE(pointer.current().has_value());
}

} // namespace
