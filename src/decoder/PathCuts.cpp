#include "PathCuts.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vertex {
    QPointF device;
    QPointF user;
};

Vertex between(const Vertex& a, const Vertex& b, double t)
{
    return {a.device + t * (b.device - a.device), a.user + t * (b.user - a.user)};
}

Vertex middle(const Vertex& a, const Vertex& b) { return between(a, b, 0.5); }

double across(const Vertex& a, const Vertex& b)
{
    return std::abs(b.device.x() - a.device.x()) + std::abs(b.device.y() - a.device.y());
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

// Where a curve lies, by the hull of its points: 1 wholly inside `r`, -1
// wholly outside, 0 across its edge.
int side(const Vertex (&c)[4], const QRectF& r)
{
    double left = c[0].device.x(), right = left, top = c[0].device.y(), bottom = top;
    for (const Vertex& v : c) {
        left = std::min(left, v.device.x());
        right = std::max(right, v.device.x());
        top = std::min(top, v.device.y());
        bottom = std::max(bottom, v.device.y());
    }
    if (right < r.left() || left > r.right() || bottom < r.top() || top > r.bottom())
        return -1;
    return left >= r.left() && right <= r.right() && top >= r.top() && bottom <= r.bottom() ? 1 : 0;
}

// Whether the control points lie within a twentieth of a pixel of the chord.
bool flat(const Vertex (&c)[4])
{
    const QPointF chord = c[3].device - c[0].device;
    const double length = std::hypot(chord.x(), chord.y());
    const auto away = [&](const QPointF& q) {
        const QPointF v = q - c[0].device;
        return length > 0 ? std::abs(v.x() * chord.y() - v.y() * chord.x()) / length : std::hypot(v.x(), v.y());
    };
    return std::max(away(c[1].device), away(c[2].device)) <= 0.05;
}

void halve(const Vertex (&c)[4], Vertex (&first)[4], Vertex (&second)[4])
{
    const Vertex ab = middle(c[0], c[1]), bc = middle(c[1], c[2]), cd = middle(c[2], c[3]);
    const Vertex abc = middle(ab, bc), bcd = middle(bc, cd), m = middle(abc, bcd);
    first[0] = c[0], first[1] = ab, first[2] = abc, first[3] = m;
    second[0] = m, second[1] = bcd, second[2] = cd, second[3] = c[3];
}

constexpr int kHalvings = 40;  // enough to bring the far ends of the coordinate range down to a pixel

class StrokeCutter {
public:
    explicit StrokeCutter(const QRectF& r) : r_(r), out_(1) {}

    void beginSubpath()
    {
        part(kPieceLength);
        joined_ = false;
    }
    void line(const Vertex& a, const Vertex& b)
    {
        double t0 = 0, t1 = 1;
        if (!clipEdge(a.device, b.device, r_, t0, t1)) {
            joined_ = false;
            return;
        }
        const Vertex from = t0 > 0 ? between(a, b, t0) : a, to = t1 < 1 ? between(a, b, t1) : b;
        startAt(from, t0 > 0);
        out_.back().lineTo(to.user);
        length_ += across(from, to);
        joined_ = t1 == 1;
    }
    // Kept a curve where it lies inside, halved where it crosses the edge.
    void curve(const Vertex (&c)[4], int halvings = kHalvings)
    {
        const int where = side(c, r_);
        if (where < 0) {
            joined_ = false;
        } else if (where > 0) {
            startAt(c[0], false);
            out_.back().cubicTo(c[1].user, c[2].user, c[3].user);
            length_ += across(c[0], c[1]) + across(c[1], c[2]) + across(c[2], c[3]);
            joined_ = true;
        } else if (halvings == 0 || flat(c)) {
            line(c[0], c[3]);
        } else {
            Vertex first[4], second[4];
            halve(c, first, second);
            curve(first, halvings - 1);
            curve(second, halvings - 1);
        }
    }
    std::size_t pieces() const { return out_.size(); }
    void close() { out_.back().closeSubpath(); }
    std::vector<QPainterPath> take() { return std::move(out_); }

private:
    static constexpr double kPieceLength = 512;  // pixels of line, across and down
    static constexpr double kScribbleLength = 64 * kPieceLength;

    void startAt(const Vertex& from, bool cut)
    {
        if (joined_ && !cut && length_ <= kScribbleLength)
            return;
        part(kPieceLength);
        out_.back().moveTo(from.user);
    }
    void part(double limit)
    {
        if (length_ > limit) {
            out_.emplace_back();
            length_ = 0;
        }
    }

    QRectF r_;
    std::vector<QPainterPath> out_;
    double length_ = 0;
    bool joined_ = false;
};

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

void addCurve(const Vertex (&c)[4], const QRectF& visible, int halvings, FlatPath& out)
{
    if (halvings == 0 || side(c, visible) < 0 || flat(c)) {
        out.device.push_back(c[3].device);
        out.user.push_back(c[3].user);
        return;
    }
    Vertex first[4], second[4];
    halve(c, first, second);
    addCurve(first, visible, halvings - 1, out);
    addCurve(second, visible, halvings - 1, out);
}

} // namespace

std::vector<QPainterPath> cutStroke(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& r)
{
    StrokeCutter cut(r);
    for (const PlainPath::Subpath& s : path.subpaths) {
        const auto vertex = [&](int i) {
            const std::size_t k = std::size_t(s.first + i % s.count);
            return Vertex{device[k], path.points[k]};
        };
        const auto control = [&](int i) { return bool(path.control[std::size_t(s.first + i % s.count)]); };
        int start = 0;
        bool inside = true;
        for (int i = 0; i < s.count; ++i)
            inside = inside && r.contains(device[std::size_t(s.first + i)]);
        // A closed subpath begins at a corner outside, so that no corner
        // inside loses its join.
        while (s.closed && !inside && start < s.count && (control(start) || r.contains(vertex(start).device)))
            ++start;
        if (start == s.count)
            start = 0;
        cut.beginSubpath();
        const std::size_t pieces = cut.pieces();
        const int steps = s.closed ? s.count : s.count - 1;
        for (int walked = 0, j = start; walked < steps;) {
            if (control(j + 1) && walked + 3 <= steps) {
                const Vertex c[4] = {vertex(j), vertex(j + 1), vertex(j + 2), vertex(j + 3)};
                cut.curve(c);
                j += 3;
                walked += 3;
            } else {
                cut.line(vertex(j), vertex(j + 1));
                ++j;
                ++walked;
            }
        }
        if (s.closed && inside && cut.pieces() == pieces)
            cut.close();  // the join where it began
    }
    return cut.take();
}

void flattenPath(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& visible, FlatPath& out)
{
    out = FlatPath();
    for (const PlainPath::Subpath& s : path.subpaths) {
        const int first = int(out.device.size());
        for (std::size_t i = std::size_t(s.first); i < std::size_t(s.first + s.count); ++i) {
            if (path.control[i]) {
                const Vertex c[4] = {{out.device.back(), out.user.back()},
                                     {device[i], path.points[i]},
                                     {device[i + 1], path.points[i + 1]},
                                     {device[i + 2], path.points[i + 2]}};
                addCurve(c, visible, kHalvings, out);
                i += 2;
            } else {
                out.device.push_back(device[i]);
                out.user.push_back(path.points[i]);
            }
        }
        out.subpaths.push_back({first, int(out.device.size()) - first, s.closed});
    }
}

QPainterPath userPath(const FlatPath& path)
{
    QPainterPath out;
    for (const PlainPath::Subpath& s : path.subpaths) {
        out.moveTo(path.user[std::size_t(s.first)]);
        for (int i = 1; i < s.count; ++i)
            out.lineTo(path.user[std::size_t(s.first + i)]);
        if (s.closed)
            out.closeSubpath();
    }
    return out;
}

QPainterPath cutFill(const FlatPath& path, const QRectF& r)
{
    QPainterPath out;
    out.setFillRule(Qt::WindingFill);
    std::vector<Vertex> polygon, scratch;
    for (const PlainPath::Subpath& s : path.subpaths) {
        polygon.clear();
        for (int i = s.first; i < s.first + s.count; ++i)
            polygon.push_back({path.device[std::size_t(i)], path.user[std::size_t(i)]});
        clipPolygon(polygon, r, scratch);
        addPolygon(out, polygon, false);
    }
    return out;
}

QPainterPath cutOutline(const QList<QPolygonF>& outline, const QRectF& r)
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
