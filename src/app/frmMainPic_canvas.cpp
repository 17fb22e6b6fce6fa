// The canvas mouse goes to the selected tool; the readout it shows.
#include "app/frmMainPic.h"

#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"

void frmMainPic::picGraph_MouseDown(Qt::MouseButton button, Qt::MouseButtons, double x, double y)
{
    if (button != Qt::LeftButton)
        return;
    state_.dragStartX = static_cast<float>(x);
    state_.dragStartY = static_cast<float>(y);
    tool().press(*this, x, y);
}

void frmMainPic::picGraph_MouseMove(Qt::MouseButtons buttons, double x, double y)
{
    tool().move(*this, buttons, x, y);
}

void frmMainPic::picGraph_MouseUp(Qt::MouseButton button, Qt::MouseButtons, double x, double y)
{
    releasePointer();
    tool().release(*this, button, x, y);
}

void frmMainPic::updateReadout(double x, double y)
{
    updateCursorValueX(session_.calibration, static_cast<float>(x), state_.cursorValueX);
    updateCursorValueY(session_.calibration, static_cast<float>(y), state_.cursorValueY);
    showCursorValues();
}

void frmMainPic::showCursorValues()
{
    setStatus(QStringLiteral("(x, y) = (%1, %2)").arg(state_.cursorValueX.text(), state_.cursorValueY.text()));
}

void frmMainPic::setCanvasCursor(const QCursor& cursor) { picGraph_->setCursor(cursor); }

bool frmMainPic::readyToPick()
{
    if (!session_.calibration.coordinatesSet) {
        platform_.messages.error(msg::setCoordinatesFirst(), msg::errorTitle());
        return false;
    }
    return calibrationFitsPicture();
}

void frmMainPic::editRecorded()
{
    forgetPicks();
}
