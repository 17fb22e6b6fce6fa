#include "app/tools/CanvasTool.h"

#include "app/Artwork.h"
#include "app/tools/ToolHost.h"
#include "session/Digitisation.h"

void CanvasTool::move(ToolHost& host, Qt::MouseButtons, double x, double y)
{
    if (host.session().calibration.coordinatesSet)
        host.updateReadout(x, y);
    host.hideLoupe();
}

QCursor SightTool::cursor() const { return pointerCursor(7); }

void SightTool::press(ToolHost& host, double x, double y)
{
    if (!host.readyToPick())
        return;
    // The line is the point under the press, where its mark goes, even when
    // no move has come before it.
    host.updateReadout(x, y);
    host.pickPoint(x, y);
}

void SightTool::move(ToolHost& host, Qt::MouseButtons, double x, double y)
{
    if (host.session().calibration.coordinatesSet)
        host.updateReadout(x, y);
    host.showLoupe(x, y);
}
