#include "BandPainter.h"

#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

namespace {

// A point on the picture together with the point of the drawing it came from:
// a cut is made on the picture and carried over to the drawing by the same
// fraction of the edge, which an affine mapping keeps.
struct Vertex {
    QPointF device;
    QPointF user;
};

Vertex between(const Vertex& a, const Vertex& b, double t)
{
    return {a.device + t * (b.device - a.device), a.user + t * (b.user - a.user)};
}

// The longest a unit length can become under the mapping.
double stretch(const QTransform& t)
{
    const double a = t.m11(), b = t.m12(), c = t.m21(), d = t.m22();
    const double s = a * a + b * b + c * c + d * d, det = a * d - b * c;
    return std::sqrt((s + std::sqrt(std::max(0.0, s * s - 4 * det * det))) / 2);
}

// The fractions [t0, t1] of the edge a-b that lie in `r`; false when none does.
bool clipEdge(const QPointF& a, const QPointF& b, const QRectF& r, double& t0, double& t1)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    t0 = 0;
    t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

// The lines of the path that lie in `r`, kept joined where they meet inside
// it. Qt's rasteriser costs about the product of a path's edges and its
// length, so the lines are handed over a few hundred pixels at a time: parted
// where a line is cut anyway, and inside a line only in a scribble far longer
// than any curve (there a join becomes two ends, deep in the scribble).
std::vector<QPainterPath> clippedStroke(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& r)
{
    constexpr double kPieceLength = 512;  // pixels of line, across and down
    constexpr double kScribbleLength = 64 * kPieceLength;
    std::vector<QPainterPath> out(1);
    double length = 0;
    const auto part = [&](double limit) {
        if (length > limit) {
            out.emplace_back();
            length = 0;
        }
    };
    for (const PlainPath::Subpath& s : path.subpaths) {
        part(kPieceLength);
        const auto vertex = [&](int i) {
            const std::size_t k = std::size_t(s.first + i % s.count);
            return Vertex{device[k], path.points[k]};
        };
        int start = 0;
        if (s.closed) {
            // Begin at a corner outside, so that no corner inside loses its join.
            while (start < s.count && r.contains(vertex(start).device))
                ++start;
            if (start == s.count) {
                out.back().moveTo(vertex(0).user);
                for (int i = 1; i < s.count; ++i) {
                    out.back().lineTo(vertex(i).user);
                    length += std::abs(vertex(i).device.x() - vertex(i - 1).device.x()) + std::abs(vertex(i).device.y() - vertex(i - 1).device.y());
                }
                out.back().closeSubpath();
                continue;
            }
        }
        const int edges = s.closed ? s.count : s.count - 1;
        bool joined = false;
        for (int e = 0; e < edges; ++e) {
            const Vertex a = vertex(start + e), b = vertex(start + e + 1);
            double t0 = 0, t1 = 1;
            if (!clipEdge(a.device, b.device, r, t0, t1)) {
                joined = false;
                continue;
            }
            const Vertex from = t0 > 0 ? between(a, b, t0) : a, to = t1 < 1 ? between(a, b, t1) : b;
            if (!joined || t0 > 0 || length > kScribbleLength) {
                part(kPieceLength);
                out.back().moveTo(from.user);
            }
            out.back().lineTo(to.user);
            length += std::abs(to.device.x() - from.device.x()) + std::abs(to.device.y() - from.device.y());
            joined = t1 == 1;
        }
    }
    return out;
}

// Cuts a closed polygon against the four sides of `r` in turn, which keeps
// the winding of every point inside.
void clipPolygon(std::vector<Vertex>& polygon, const QRectF& r, std::vector<Vertex>& scratch)
{
    for (int side = 0; side < 4 && !polygon.empty(); ++side) {
        const auto inside = [&](const QPointF& p) {
            return side == 0 ? p.x() >= r.left() : side == 1 ? p.x() <= r.right() : side == 2 ? p.y() >= r.top() : p.y() <= r.bottom();
        };
        const auto crossing = [&](const Vertex& a, const Vertex& b) {
            const double t = side < 2 ? ((side == 0 ? r.left() : r.right()) - a.device.x()) / (b.device.x() - a.device.x())
                                      : ((side == 2 ? r.top() : r.bottom()) - a.device.y()) / (b.device.y() - a.device.y());
            return between(a, b, t);
        };
        scratch.clear();
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Vertex& previous = polygon[(i + polygon.size() - 1) % polygon.size()];
            const Vertex& current = polygon[i];
            if (inside(current.device)) {
                if (!inside(previous.device))
                    scratch.push_back(crossing(previous, current));
                scratch.push_back(current);
            } else if (inside(previous.device)) {
                scratch.push_back(crossing(previous, current));
            }
        }
        polygon.swap(scratch);
    }
}

void addPolygon(QPainterPath& out, const std::vector<Vertex>& polygon, bool device)
{
    if (polygon.size() < 3)
        return;
    out.moveTo(device ? polygon[0].device : polygon[0].user);
    for (std::size_t i = 1; i < polygon.size(); ++i)
        out.lineTo(device ? polygon[i].device : polygon[i].user);
    out.closeSubpath();
}

// The filled area of the path inside `r`.
QPainterPath clippedFill(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& r)
{
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    std::vector<Vertex> polygon, scratch;
    for (const PlainPath::Subpath& s : path.subpaths) {
        polygon.clear();
        for (int i = 0; i < s.count; ++i)
            polygon.push_back({device[std::size_t(s.first + i)], path.points[std::size_t(s.first + i)]});
        clipPolygon(polygon, r, scratch);
        addPolygon(out, polygon, false);
    }
    return out;
}

// The part inside `r` of an outline already on the picture.
QPainterPath clippedOutline(const QList<QPolygonF>& outline, const QRectF& r)
{
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    std::vector<Vertex> polygon, scratch;
    for (const QPolygonF& piece : outline) {
        polygon.clear();
        for (const QPointF& p : piece)
            polygon.push_back({p, p});
        clipPolygon(polygon, r, scratch);
        addPolygon(out, polygon, true);
    }
    return out;
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
    const int firstBand = std::max(0, int(std::floor(extent.top() / kBandHeight)));
    const int lastBand = std::min(int(bands_.size()) - 1, int(std::floor(extent.bottom() / kBandHeight)));
    const QBrush fill = path.filled ? QBrush(path.fill) : QBrush();

    // Most paths are small: drawn whole in the band or two they touch.
    if (extent.height() <= 2 * kBandHeight && extent.left() >= -image_.width() && extent.right() <= 2.0 * image_.width()) {
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
    QList<QPolygonF> outline;
    if (path.stroked && reach > kBandHeight / 4)
        outline = QPainterPathStroker(pen).createStroke(path.painterPath()).toSubpathPolygons(toDevice);
    for (int b = firstBand; b <= lastBand; ++b) {
        for (int x = 0; (path.filled || !outline.isEmpty()) && x < image_.width(); x += kBandHeight) {
            const QRect tile(x, b * kBandHeight, kBandHeight, kBandHeight);
            if (!extent.intersects(tile))
                continue;
            const QRectF cut = QRectF(tile).adjusted(-2, -2, 2, 2);
            band(b).resetTransform();  // the clip is in the band's own pixels
            band(b).setClipRect(tile.translated(0, -b * kBandHeight));
            if (path.filled)
                painter(b, toDevice, Qt::NoPen, fill).drawPath(clippedFill(path, device_, cut));
            if (!outline.isEmpty())
                painter(b, QTransform(), Qt::NoPen, path.stroke).drawPath(clippedOutline(outline, cut));
        }
        band(b).setClipping(false);
        if (path.stroked && outline.isEmpty()) {
            const QRectF keep(-margin, b * kBandHeight - margin, image_.width() + 2 * margin, kBandHeight + 2 * margin);
            for (const QPainterPath& piece : clippedStroke(path, device_, keep))
                painter(b, toDevice, pen, Qt::NoBrush).drawPath(piece);
        }
    }
}
