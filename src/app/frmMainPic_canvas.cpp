// The canvas mouse: live readout, point picking, pen and erasers.
#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "platform/qt/PictureBox.h"

namespace {
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
} // namespace

void frmMainPic::picGraph_MouseDown(Qt::MouseButton button, Qt::MouseButtons, double x, double y)
{
    if (button != Qt::LeftButton)
        return;
    state_.dragStartX = static_cast<float>(x);
    state_.dragStartY = static_cast<float>(y);

    switch (state_.toolMode) {
    case ToolMode::Sight:
        if (calibration_.coordinatesSet) {
            if (!calibrationFitsPicture())
                break;
            // The line is the point under the press, where its mark goes, even
            // when no move has come before it.
            updateReadout(x, y);
            pickPoint(x, y);
        } else
            platform_.messages.error("(X1,Y1), (X2,Y2)の座標を設定してください", "エラー");
        break;
    case ToolMode::Pen:
        MouseRestrict();
        picGraph_->pset(x - 30, y + 30, kBlack);
        break;
    case ToolMode::HErase:
        picGraph_->line(0, y + 60, picGraph_->scaleWidth(), y + 60, kWhite);
        break;
    case ToolMode::VErase:
        picGraph_->line(x - 80, 0, x - 80, picGraph_->scaleHeight(), kWhite);
        break;
    case ToolMode::Erase: {
        const double w = (state_.eraserSizeStep % 3 + 1) * 50.0;
        picGraph_->setFillColor(kWhite);
        picGraph_->setFillSolid(true);
        picGraph_->box(x - w, y - w, x + w, y + w, kWhite);
        picGraph_->setFillSolid(false);
        break;
    }
    case ToolMode::XY:
        break;
    }
}

void frmMainPic::picGraph_MouseMove(Qt::MouseButtons buttons, double x, double y)
{
    if (calibration_.coordinatesSet && !isDrawingTool(state_.toolMode))
        updateReadout(x, y);
    if (state_.toolMode == ToolMode::Pen && buttons == Qt::LeftButton)
        picGraph_->lineTo(x - 30, y + 30, kBlack);
    if (state_.toolMode == ToolMode::Sight)
        showLoupe(x, y);
    else
        hideLoupe();
}

void frmMainPic::updateReadout(double x, double y)
{
    updateCursorValueX(calibration_, static_cast<float>(x), state_.cursorValueX);
    updateCursorValueY(calibration_, static_cast<float>(y), state_.cursorValueY);
    showCursorValues();
}

void frmMainPic::showCursorValues()
{
    setStatus(QStringLiteral("(x, y) = (%1, %2)").arg(state_.cursorValueX.text(), state_.cursorValueY.text()));
}

void frmMainPic::picGraph_MouseUp(Qt::MouseButton button, Qt::MouseButtons, double, double)
{
    releasePointer();
    if (button == Qt::LeftButton && isDrawingTool(state_.toolMode))
        SaveUndoSnapshot();
    if (button == Qt::RightButton && state_.toolMode == ToolMode::Erase) {
        // Only the value modulo 3 matters, so the counter never overflows.
        state_.eraserSizeStep = static_cast<std::int16_t>((state_.eraserSizeStep + 1) % 3);
        picGraph_->setCursor(pointerCursor(state_.eraserSizeStep % 3 + 4));
    }
}
