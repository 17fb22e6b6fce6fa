#include "app/Loupe.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QRgb kOutside = qRgb(128, 128, 128);
const QRgb kFrame = qRgb(64, 64, 64);

// The arms alternate black and white every two pixels, so they show on any
// picture. They stop short of the centre, leaving the pixels on the position
// itself visible.
QRgb armColour(int distance)
{
    return (distance / 2) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
}

// Picture pixel under the centre of each screen pixel along one axis; -1 off
// the picture.
std::vector<int> sourceIndices(double position, int pictureLength)
{
    std::vector<int> out(Loupe::kSide);
    for (int s = 0; s < Loupe::kSide; ++s) {
        const int i = int(std::floor(position + (s + 0.5 - Loupe::kSide / 2.0) / Loupe::kZoom));
        out[std::size_t(s)] = i >= 0 && i < pictureLength ? i : -1;
    }
    return out;
}

} // namespace

Loupe::Loupe(QWidget* parent) : QWidget(parent)
{
    setObjectName("loupe");
    setFixedSize(kSide, kSide);
    // A drag under the loupe must go on reaching whatever is being dragged.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Loupe::setPicture(const QImage& picture)
{
    picture_ = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void Loupe::setPosition(QPointF picturePosition)
{
    position_ = picturePosition;
    update();
}

QImage Loupe::view() const
{
    QImage out(kSide, kSide, QImage::Format_RGB32);
    const std::vector<int> columns = sourceIndices(position_.x(), picture_.width());
    const std::vector<int> rows = sourceIndices(position_.y(), picture_.height());
    const int centre = kSide / 2;
    for (int sy = 0; sy < kSide; ++sy) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(sy));
        const int r = rows[std::size_t(sy)];
        const QRgb* source = r >= 0 ? reinterpret_cast<const QRgb*>(picture_.constScanLine(r)) : nullptr;
        for (int sx = 0; sx < kSide; ++sx) {
            const int c = columns[std::size_t(sx)];
            line[sx] = source && c >= 0 ? source[c] | 0xff000000u : kOutside;
        }
    }
    for (int d = kZoom + 1; d <= centre; ++d)
        for (const int s : {centre - d, centre + d}) {
            out.setPixel(s, centre, armColour(d));
            out.setPixel(centre, s, armColour(d));
        }
    for (int i = 0; i < kSide; ++i)
        for (const QPoint p : {QPoint(i, 0), QPoint(i, kSide - 1), QPoint(0, i), QPoint(kSide - 1, i)})
            out.setPixel(p, kFrame);
    return out;
}

void Loupe::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, view());
}

QPoint placeLoupe(QSize size, QPoint spot, QRect bounds, int gap)
{
    const int w = size.width(), h = size.height();
    const auto fits = [](int start, int length, int low, int high) { return start >= low && start + length - 1 <= high; };
    const auto slide = [](int start, int length, int low, int high) { return std::max(low, std::min(start, high - length + 1)); };

    const int right = spot.x() + gap, left = spot.x() - gap - w + 1;
    const int above = spot.y() - gap - h + 1, below = spot.y() + gap;
    const int x = fits(right, w, bounds.left(), bounds.right()) ? right
        : fits(left, w, bounds.left(), bounds.right())          ? left
                                                                : slide(right, w, bounds.left(), bounds.right());
    const int y = fits(above, h, bounds.top(), bounds.bottom()) ? above
        : fits(below, h, bounds.top(), bounds.bottom())         ? below
                                                                : slide(above, h, bounds.top(), bounds.bottom());
    // A loupe slid along one axis is still clear of the spot along the other;
    // only bounds too small for either leave it over the spot.
    return {x, y};
}
