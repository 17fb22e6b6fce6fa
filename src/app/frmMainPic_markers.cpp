// Dragging the reference markers, the start point and the end line.
#include "app/frmMainPic.h"

#include "platform/NumberText.h"
#include "app/PlaceWidget.h"
#include "raster/ui/PictureBox.h"

#include <QLabel>

#include <algorithm>

void frmMainPic::placeMarkers()
{
    const int w = picGraph_->image().width();
    const int h = picGraph_->image().height();
    const auto column = [w](float x) { return float(lineDrawnPixel(x, kTwipsPerPixelX, w) * kTwipsPerPixelX); };
    const auto row = [h](float y) { return float(lineDrawnPixel(y, kTwipsPerPixelY, h) * kTwipsPerPixelY); };
    placeWidget(linX1_, {column(session_.calibration.refX1Pos), 0, 15, 99999});
    placeWidget(linX2_, {column(session_.calibration.refX2Pos), 0, 15, 99999});
    placeWidget(linY1_, {0, row(session_.calibration.refY1Pos), 99999, 15});
    placeWidget(linY2_, {0, row(session_.calibration.refY2Pos), 99999, 15});
    // A grab square stays centred on the pixel its lines are drawn on, even
    // when the position lies between pixels.
    placeWidget(lblXY1_, {column(session_.calibration.refX1Pos) - 60, row(session_.calibration.refY1Pos) - 60, session_.markers.lblXY1.width, session_.markers.lblXY1.height});
    placeWidget(lblXY2_, {column(session_.calibration.refX2Pos) - 60, row(session_.calibration.refY2Pos) - 60, session_.markers.lblXY2.width, session_.markers.lblXY2.height});
    placeWidget(lblX1Index_, session_.markers.lblX1Index);
    placeWidget(lblX2Index_, session_.markers.lblX2Index);
    placeWidget(lblY1Index_, session_.markers.lblY1Index);
    placeWidget(lblY2Index_, session_.markers.lblY2Index);
    placeWidget(shpRectangle_, session_.markers.shpRectangle);
    placeWidget(lblStartPointC_, session_.markers.lblStartPointC);
    placeWidget(lblStartPointTxt_, session_.markers.lblStartPointTxt);
    placeWidget(lblEndLine_, session_.markers.lblEndLine);
    placeWidget(lblEndLineTxt_, session_.markers.lblEndLineTxt);
    // The grab squares and the start cross stay on top of the lines and the frame.
    shpRectangle_->raise();
    lblStartPointC_->raise();
    lblXY1_->raise();
    lblXY2_->raise();
}

void frmMainPic::centreScanFrame()
{
    const TwipsRect& c = session_.markers.lblStartPointC;
    session_.markers.shpRectangle.top = c.top + c.height / 2 - static_cast<float>(session_.traceSettings.range * kTwipsPerPixelY) / 2;
    session_.markers.shpRectangle.left = c.left + c.width / 2 - static_cast<float>(session_.traceSettings.range * kTwipsPerPixelX) / 2;
}

void frmMainPic::markerPressed(QWidget* marker, Qt::MouseButton button, double x, double y)
{
    MouseRestrict();
    if (button == Qt::LeftButton) {
        state_.dragStartX = static_cast<float>(x);
        state_.dragStartY = static_cast<float>(y);
    }
    marker->setCursor(Qt::ArrowCursor);
    // The arrow keys then move this reference by finer steps than a drag.
    if (marker == lblXY1_ || marker == lblXY2_)
        marker->setFocus(Qt::MouseFocusReason);
}

void frmMainPic::dragReference(int which, double x, double y)
{
    TwipsRect& square = which == 1 ? session_.markers.lblXY1 : session_.markers.lblXY2;
    const double left = square.left + (x - state_.dragStartX);
    const double top = square.top + (y - state_.dragStartY);
    // A drag leaves the reference on the pixel its lines are drawn on, so the
    // crossing the user lined up with the graph is exactly the reference used.
    const float lineX = float(lineDrawnPixel(left + 60, kTwipsPerPixelX, picGraph_->image().width()) * kTwipsPerPixelX);
    const float lineY = float(lineDrawnPixel(top + 60, kTwipsPerPixelY, picGraph_->image().height()) * kTwipsPerPixelY);
    (which == 1 ? session_.calibration.refX1Pos : session_.calibration.refX2Pos) = lineX;
    (which == 1 ? session_.calibration.refY1Pos : session_.calibration.refY2Pos) = lineY;
    referenceFollowsLines(which);
}

void frmMainPic::referenceFollowsLines(int which)
{
    TwipsRect& square = which == 1 ? session_.markers.lblXY1 : session_.markers.lblXY2;
    square.left = (which == 1 ? session_.calibration.refX1Pos : session_.calibration.refX2Pos) - 60;
    square.top = (which == 1 ? session_.calibration.refY1Pos : session_.calibration.refY2Pos) - 60;
    (which == 1 ? session_.markers.lblX1Index : session_.markers.lblX2Index).left = square.left - (which == 1 ? 45 : 30);
    (which == 1 ? session_.markers.lblY1Index : session_.markers.lblY2Index).top = square.top - 60;
}

void frmMainPic::markerMoved(QWidget* marker, Qt::MouseButtons buttons, double x, double y)
{
    // The grabbed point never leaves the canvas, even for a move that arrives
    // before the pointer confinement has pulled the pointer back.
    const double canvasX = marker->x() * kTwipsPerPixelX + x;
    const double canvasY = marker->y() * kTwipsPerPixelY + y;
    x += std::clamp(canvasX, 0.0, picGraph_->scaleWidth() - kTwipsPerPixelX) - canvasX;
    y += std::clamp(canvasY, 0.0, picGraph_->scaleHeight() - kTwipsPerPixelY) - canvasY;

    const bool left = buttons & Qt::LeftButton;
    if (marker == lblXY1_ || marker == lblXY2_) {
        const int which = marker == lblXY1_ ? 1 : 2;
        if (left) {
            // The references move at once, not only at the release: a release
            // lost to a dialog opened mid-drag must not leave the values on the old lines.
            dragReference(which, x, y);
            placeMarkers();
            showLoupe(which == 1 ? session_.calibration.refX1Pos : session_.calibration.refX2Pos, which == 1 ? session_.calibration.refY1Pos : session_.calibration.refY2Pos);
        } else {
            hideLoupe();
        }
        if (session_.calibration.coordinatesSet) {
            const QString status = which == 1
                ? QStringLiteral("(X1, Y1) = (%1, %2)").arg(formatSingle(session_.calibration.x1Value), formatSingle(session_.calibration.y1Value))
                : QStringLiteral("(X2, Y2) = (%1, %2)").arg(formatSingle(session_.calibration.x2Value), formatSingle(session_.calibration.y2Value));
            setStatus(status);
        }
    } else if (marker == lblStartPointC_ && left) {
        TwipsRect& c = session_.markers.lblStartPointC;
        c.left = static_cast<float>(x - state_.dragStartX + c.left);
        c.top = static_cast<float>(y - state_.dragStartY + c.top);
        session_.markers.lblStartPointTxt.left = c.left + 180;
        session_.markers.lblStartPointTxt.top = c.top + 120;
        centreScanFrame();
        placeMarkers();
        showLoupe(c.left + c.width / 2, c.top + c.height / 2);
    } else if (marker == lblEndLine_ && left) {
        // The bar stays whole on the canvas, where the user can see and grab it.
        const double left = x - state_.dragStartX + session_.markers.lblEndLine.left;
        session_.markers.lblEndLine.left = static_cast<float>(
            std::clamp(left, 0.0, picGraph_->scaleWidth() - session_.markers.lblEndLine.width));
        session_.markers.lblEndLineTxt.left = session_.markers.lblEndLine.left + 120;
        placeMarkers();
        // Where the tracer stops, at the height of the pointer.
        showLoupe(session_.markers.lblEndLine.left - session_.markers.lblEndLine.width / 2, marker->y() * kTwipsPerPixelY + y);
    } else {
        hideLoupe();
    }
}

void frmMainPic::markerReleased(QWidget* marker, Qt::MouseButton)
{
    // The drop shows where the reference came to rest, as an arrow key would.
    if (marker == lblXY1_ || marker == lblXY2_) {
        const int which = marker == lblXY1_ ? 1 : 2;
        showReferencePosition(which);
    }
    releasePointer();
    hideLoupe();
    marker->setCursor(marker == lblEndLine_ ? Qt::SizeHorCursor : Qt::SizeAllCursor);
}
