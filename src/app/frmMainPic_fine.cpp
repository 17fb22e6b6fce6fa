// Placement finer than a canvas pixel: the loupe over the loaded picture, and
// the arrow keys that move a reference marker by the picture's own pixels.
#include "app/frmMainPic.h"

#include "app/Loupe.h"
#include "platform/NumberText.h"
#include "raster/ui/PictureBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace {
QString pictureCoordinate(double v) { return formatDouble(std::round(v * 100) / 100); }
} // namespace

// Shows the loaded picture around canvas position (x, y), in twips, beside the
// canvas pixel that shows it, inside the window and the screen.
void frmMainPic::showLoupe(double x, double y)
{
    if (!session_.showsOpenedPicture()) {
        hideLoupe();
        return;
    }
    if (!loupe_)
        loupe_ = new Loupe(this);
    loupe_->setPicture(session_.picture().image());
    loupe_->setPosition(session_.pictureMapping().toPicture(QPointF(x, y)));
    const QPoint pixel(lineDrawnPixel(x, kTwipsPerPixelX, picGraph_->image().width()),
                       lineDrawnPixel(y, kTwipsPerPixelY, picGraph_->image().height()));
    QRect bounds = rect();
    if (const QScreen* s = screen()) {
        const QRect onScreen = bounds & QRect(mapFromGlobal(s->availableGeometry().topLeft()), s->availableGeometry().size());
        if (onScreen.width() >= loupe_->width() && onScreen.height() >= loupe_->height())
            bounds = onScreen;
    }
    loupe_->move(placeLoupe(loupe_->size(), picGraph_->mapTo(this, pixel), bounds));
    loupe_->raise();
    loupe_->show();
}

void frmMainPic::hideLoupe()
{
    if (loupe_)
        loupe_->hide();
}

// The reference the arrow keys move when `receiver` gets them: the one under
// the pointer, else the one last pressed, which keeps the keyboard until the
// user clicks elsewhere.
int frmMainPic::arrowKeyReference(QObject* receiver) const
{
    const int which = hoveredReference_ ? hoveredReference_ : receiver == lblXY1_ ? 1 : receiver == lblXY2_ ? 2 : 0;
    return which && (which == 1 ? lblXY1_ : lblXY2_)->isVisible() ? which : 0;
}

// An arrow key moves the reference to the next pixel of the loaded picture (a
// quarter canvas pixel on a picture smaller than the canvas), Shift+arrow by a
// whole canvas pixel. The position is kept exactly; its lines are drawn on the
// nearest canvas pixel, and the loupe and the status bar show where it is.
bool frmMainPic::nudgeReference(int which, const QKeyEvent& key)
{
    const int dx = key.key() == Qt::Key_Left ? -1 : key.key() == Qt::Key_Right ? 1 : 0;
    const int dy = key.key() == Qt::Key_Up ? -1 : key.key() == Qt::Key_Down ? 1 : 0;
    if ((dx == 0 && dy == 0) || session_.picture().isNull())
        return false;
    const bool wholePixel = key.modifiers() & Qt::ShiftModifier;
    const CanvasPictureMapping map = session_.pictureMapping();
    // A step past the picture's edge is not taken.
    const auto step = [&](float& at, const CanvasPictureMapping::Axis& axis, int direction) {
        if (direction == 0)
            return;
        const double to = wholePixel ? at + direction * kTwipsPerPixelX : axis.fineStep(at, direction);
        if (to >= axis.toTwips(0) && to <= axis.toTwips(axis.picturePixels()))
            at = static_cast<float>(to);
    };
    float& x = which == 1 ? session_.calibration.refX1Pos : session_.calibration.refX2Pos;
    float& y = which == 1 ? session_.calibration.refY1Pos : session_.calibration.refY2Pos;
    step(x, map.x(), dx);
    step(y, map.y(), dy);
    referenceFollowsLines(which);
    placeMarkers();
    showLoupe(x, y);
    showReferencePosition(which);
    return true;
}

void frmMainPic::showReferencePosition(int which)
{
    const float x = which == 1 ? session_.calibration.refX1Pos : session_.calibration.refX2Pos;
    const float y = which == 1 ? session_.calibration.refY1Pos : session_.calibration.refY2Pos;
    const QPointF at = session_.pictureMapping().toPicture(QPointF(x, y));
    setStatus(QStringLiteral("(X%1, Y%1) 画像上の位置 = (%2, %3)")
                  .arg(which)
                  .arg(pictureCoordinate(at.x()), pictureCoordinate(at.y())));
}
