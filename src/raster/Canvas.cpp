#include "raster/Canvas.h"

#include "platform/Numeric.h"
#include "raster/Stretch.h"

#include <QPainter>

#include <algorithm>

Canvas::Canvas()
{
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(Qt::white);
}

void Canvas::settle() const
{
    if (!beforeAccess_)
        return;
    // Cleared first: the hook itself draws into the image.
    const std::function<void()> run = std::move(beforeAccess_);
    beforeAccess_ = nullptr;
    run();
}



void Canvas::cls()
{
    settle();
    image_.fill(Qt::white);
    currentX_ = currentY_ = 0;
    changed();
}

void Canvas::strokeLine(int px1, int py1, int px2, int py2, QColor color)
{
    settle();
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (drawWidth_ <= 1) {
        // A one-pixel pen sets exactly the pixels of the line, ends included.
        p.setPen(QPen(color, 0));
        if (px1 == px2 && py1 == py2)
            p.drawPoint(px1, py1);
        else
            p.drawLine(px1, py1, px2, py2);
    } else {
        QPen pen(color, drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.drawLine(QPointF(px1 + 0.5, py1 + 0.5), QPointF(px2 + 0.5, py2 + 0.5));
    }
    changed();
}

void Canvas::pset(double x, double y, QColor color)
{
    const int px = twipsToPixelX(x);
    const int py = twipsToPixelY(y);
    settle();
    if (drawWidth_ <= 1) {
        if (image_.valid(px, py))
            image_.setPixel(px, py, color.rgb());
        changed();
    } else {
        strokeLine(px, py, px, py, color);
    }
    currentX_ = x;
    currentY_ = y;
}

void Canvas::lineTo(double x, double y, QColor color)
{
    line(currentX_, currentY_, x, y, color);
}

void Canvas::line(double x1, double y1, double x2, double y2, QColor color)
{
    strokeLine(twipsToPixelX(x1), twipsToPixelY(y1), twipsToPixelX(x2), twipsToPixelY(y2), color);
    currentX_ = x2;
    currentY_ = y2;
}

void Canvas::box(double x1, double y1, double x2, double y2, QColor outline)
{
    const int l = twipsToPixelX(std::min(x1, x2));
    const int t = twipsToPixelY(std::min(y1, y2));
    const int r = twipsToPixelX(std::max(x1, x2));
    const int b = twipsToPixelY(std::max(y1, y2));
    settle();
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (fillSolid_)
        p.fillRect(QRect(QPoint(l, t), QPoint(r, b)), fillColor_);
    p.setPen(QPen(outline, drawWidth_ <= 1 ? 0 : drawWidth_));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(l, t), QPoint(r, b)).adjusted(0, 0, -1, -1));
    changed();
    currentX_ = x2;
    currentY_ = y2;
}

void Canvas::circle(double cx, double cy, double radius, QColor color)
{
    settle();
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(color, drawWidth_ <= 1 ? 0 : drawWidth_));
    p.setBrush(Qt::NoBrush);
    const double r = radius / kTwipsPerPixelX;
    // A centre between pixels (a point measured on the loaded picture) is
    // drawn on the nearest pixel, the one whose centre is nearest to it.
    p.drawEllipse(QPointF(roundHalfEven32(cx / kTwipsPerPixelX), roundHalfEven32(cy / kTwipsPerPixelY)), r, r);
    changed();
    currentX_ = cx;
    currentY_ = cy;
}

void Canvas::paintPicture(const Picture& picture, double x, double y, double w, double h)
{
    settle();  // which may give `picture` a finer rendering
    const QSize size(roundHalfEven32(w / kTwipsPerPixelX), roundHalfEven32(h / kTwipsPerPixelY));
    if (picture.isNull() || size.isEmpty())
        return;
    paintPicture(stretchImage(picture.image(), size), x, y, w, h);
}

void Canvas::paintPicture(const QImage& image, double x, double y, double w, double h)
{
    const QSize size(roundHalfEven32(w / kTwipsPerPixelX), roundHalfEven32(h / kTwipsPerPixelY));
    if (image.isNull() || size.isEmpty())
        return;
    settle();
    // Snapshots are opaque canvas copies already: stretch them as they are.
    const QImage stretched = stretchImage(image, size);
    QPainter p(&image_);
    p.drawImage(QPoint(twipsToPixelX(x), twipsToPixelY(y)), stretched);
    changed();
}

void Canvas::resize(QSize size, bool keep)
{
    if (image_.size() == size || size.isEmpty())
        return;
    QImage grown(size, QImage::Format_RGB32);
    grown.fill(Qt::white);
    if (keep) {
        QPainter p(&grown);
        p.drawImage(0, 0, image_);
    }
    image_ = grown;
    changed();
}
