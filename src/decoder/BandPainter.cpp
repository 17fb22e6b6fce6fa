#include "BandPainter.h"

#include "PathCuts.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace {

// Up to this many points, a path near the picture is never cut.
constexpr std::size_t kFewPoints = 64;

// The longest a unit length can become under the mapping.
double stretch(const QTransform& t)
{
    const double a = t.m11(), b = t.m12(), c = t.m21(), d = t.m22();
    const double s = a * a + b * b + c * c + d * d, det = a * d - b * c;
    return std::sqrt((s + std::sqrt(std::max(0.0, s * s - 4 * det * det))) / 2);
}

// A single line with round ends, as a polygon close enough to the circle that
// the rounding of the pixels cannot tell: Qt strokes such a line through
// curves, several times slower, and a plot of short strokes is made of them.
QPolygonF roundedLine(QPointF a, QPointF b, double radius, double deviceRadius)
{
    constexpr double kTolerance = 0.05;  // pixels between the circle and the polygon
    const int steps = deviceRadius <= kTolerance ? 4 : std::clamp(int(std::ceil(M_PI / std::acos(1 - kTolerance / deviceRadius))), 4, 64);
    const QPointF along = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const double stepCos = std::cos(M_PI / steps), stepSin = std::sin(M_PI / steps);
    QPolygonF out;
    out.reserve(2 * steps + 2);
    for (const auto& [centre, side] : {std::pair{b, 1.0}, std::pair{a, -1.0}}) {
        // From the right of the line round its end to the left, a turn at a time.
        QPointF v = side * QPointF(along.y(), -along.x());
        for (int i = 0; i <= steps; ++i) {
            out << centre + radius * v;
            v = QPointF(v.x() * stepCos - v.y() * stepSin, v.x() * stepSin + v.y() * stepCos);
        }
    }
    return out;
}

} // namespace

BandPainter::BandPainter(QImage& image) : image_(image)
{
    for (int top = 0; top < image.height(); top += kBandHeight) {
        bands_.emplace_back(image.bits() + qsizetype(top) * image.bytesPerLine(), image.width(),
                            std::min(kBandHeight, image.height() - top), image.bytesPerLine(), image.format());
    }
    painters_.resize(bands_.size());
}

BandPainter::~BandPainter() { finish(); }

void BandPainter::finish()
{
    for (auto& painter : painters_)
        painter.reset();
}

QPainter& BandPainter::band(int index)
{
    auto& painter = painters_[std::size_t(index)];
    if (!painter) {
        painter = std::make_unique<QPainter>(&bands_[std::size_t(index)]);
        painter->setRenderHint(QPainter::Antialiasing);  // as the SVG renderer draws
    }
    return *painter;
}

QPainter& BandPainter::painter(int index, const QTransform& toDevice, const QPen& pen, const QBrush& brush)
{
    QPainter& painter = band(index);
    painter.setTransform(toDevice * QTransform::fromTranslate(0, -index * kBandHeight));
    painter.setPen(pen);
    painter.setBrush(brush);
    return painter;
}

void BandPainter::draw(const PlainPath& path, const QTransform& toDevice)
{
    if ((!path.stroked && !path.filled) || path.subpaths.empty())
        return;
    device_.resize(path.points.size());
    double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
    for (std::size_t i = 0; i < path.points.size(); ++i) {
        const QPointF p = device_[i] = toDevice.map(path.points[i]);
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    if (!std::isfinite(left + right + top + bottom))
        return;  // a mapping that overflows draws nothing one could see

    // How far the stroke reaches from the lines: half its width on the
    // picture, more at square ends and mitred corners. A pen wider than the
    // picture several times over covers what it touches either way; bounding
    // it keeps every coordinate Qt sees near the picture.
    const double scale = stretch(toDevice);
    const double reachPerHalfWidth = std::max(path.join == Qt::SvgMiterJoin ? kSvgMiterLimit : 1.0, path.cap == Qt::SquareCap ? M_SQRT2 : 1.0);
    const double maxReach = 4.0 * (image_.width() + image_.height());
    QPen pen = path.pen();
    double reach = path.stroked ? path.width / 2 * scale * reachPerHalfWidth : 0;
    if (reach > maxReach) {
        pen.setWidthF(path.width * maxReach / reach);
        reach = maxReach;
    }
    const double margin = reach + 2;  // and a pixel or two of smoothing
    const QRectF extent(QPointF(left - margin, top - margin), QPointF(right + margin, bottom + margin));
    if (!extent.intersects(QRectF(image_.rect())))
        return;
    // Clamped before the conversion: a path reaching far past the picture
    // would overflow an int and be drawn nowhere.
    const int lastIndex = int(bands_.size()) - 1;
    const int firstBand = int(std::clamp(std::floor(extent.top() / kBandHeight), 0.0, double(lastIndex)));
    const int lastBand = int(std::clamp(std::floor(extent.bottom() / kBandHeight), 0.0, double(lastIndex)));
    const QBrush fill = path.filled ? QBrush(path.fill) : QBrush();

    // Most paths are small: drawn whole in the band or two they touch. So are
    // paths of a few dozen points near the picture, which cost little in any
    // band and are best left uncut: Qt strokes a curve with an approximation
    // of its own, which a cut would shift by a fraction of a pixel.
    const QRectF near = QRectF(image_.rect()).adjusted(-image_.width(), -image_.height(), image_.width(), image_.height());
    if ((extent.height() <= 2 * kBandHeight || path.points.size() <= kFewPoints) && near.contains(extent)) {
        if (path.stroked && !path.filled && path.cap == Qt::RoundCap && path.subpaths.size() == 1 && path.subpaths[0].count == 2
            && !path.subpaths[0].closed && path.points[0] != path.points[1]) {
            const QPolygonF line = roundedLine(path.points[0], path.points[1], pen.widthF() / 2, pen.widthF() / 2 * scale);
            for (int b = firstBand; b <= lastBand; ++b)
                painter(b, toDevice, Qt::NoPen, path.stroke).drawPolygon(line);
            return;
        }
        const QPainterPath whole = path.painterPath();
        for (int b = firstBand; b <= lastBand; ++b) {
            if (path.filled)
                painter(b, toDevice, Qt::NoPen, fill).drawPath(whole);
            if (path.stroked)
                painter(b, toDevice, pen, Qt::NoBrush).drawPath(whole);
        }
        return;
    }

    // Areas (a fill, or the outline of a wide pen made once on the picture)
    // are cut into tiles: the part of a long edge inside a tile is short, and
    // so is the rasteriser's work on it. Lines are cut into pieces instead.
    FlatPath flat;
    QList<QPolygonF> outline;
    if (path.filled || (path.stroked && reach > kBandHeight / 4))
        flattenPath(path, device_, QRectF(image_.rect()).adjusted(-margin, -margin, margin, margin), flat);
    if (path.stroked && reach > kBandHeight / 4)
        outline = QPainterPathStroker(pen).createStroke(userPath(flat)).toSubpathPolygons(toDevice);
    for (int b = firstBand; b <= lastBand; ++b) {
        for (int x = 0; (path.filled || !outline.isEmpty()) && x < image_.width(); x += kBandHeight) {
            const QRect tile(x, b * kBandHeight, kBandHeight, kBandHeight);
            if (!extent.intersects(tile))
                continue;
            const QRectF cut = QRectF(tile).adjusted(-2, -2, 2, 2);
            band(b).resetTransform();  // the clip is in the band's own pixels
            band(b).setClipRect(tile.translated(0, -b * kBandHeight));
            if (path.filled)
                painter(b, toDevice, Qt::NoPen, fill).drawPath(cutFill(flat, cut));
            if (!outline.isEmpty())
                painter(b, QTransform(), Qt::NoPen, path.stroke).drawPath(cutOutline(outline, cut));
        }
        band(b).setClipping(false);
        if (path.stroked && outline.isEmpty()) {
            const QRectF keep(-margin, b * kBandHeight - margin, image_.width() + 2 * margin, kBandHeight + 2 * margin);
            for (const QPainterPath& piece : cutStroke(path, device_, keep))
                painter(b, toDevice, pen, Qt::NoBrush).drawPath(piece);
        }
    }
}
