#include "raster/ui/PictureBox.h"

#include "platform/Numeric.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    attach(own_);
}

void PictureBox::attach(Canvas& canvas)
{
    if (canvas_ != &canvas)
        canvas.resize(canvas_->pixelsAsTheyAre().size(), false);
    canvas_ = &canvas;
    canvas_->setChanged([this] { update(); });
    update();
}

void PictureBox::showScaledUntilSettled()
{
    if (scaled_.isNull())
        scaled_ = canvas_->pixelsAsTheyAre();
}

void PictureBox::endScaled()
{
    scaled_ = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!scaled_.isNull()) {
        p.drawImage(rect(), scaled_);
        return;
    }
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, canvas_->pixelsAsTheyAre());
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    resizeImage(size());
}

void PictureBox::mousePressEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    emit mousePressed(e->button(), e->buttons(), pos.x() * kTwipsPerPixelX, pos.y() * kTwipsPerPixelY);
}

void PictureBox::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    emit mouseMoved(e->buttons(), pos.x() * kTwipsPerPixelX, pos.y() * kTwipsPerPixelY);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    emit mouseReleased(e->button(), e->buttons(), pos.x() * kTwipsPerPixelX, pos.y() * kTwipsPerPixelY);
}
