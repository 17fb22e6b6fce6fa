#include "trace/RefineTracePoint.h"

#include "platform/Numeric.h"
#include "trace/PictureColumns.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// y at x on the straight line through a and b.
double along(const ColumnSample& a, const ColumnSample& b, double x)
{
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

// The weighted least-squares polynomial (degree 1 or 2) through the samples,
// at x; nothing when they do not fix one.
std::optional<double> polynomialAt(const std::vector<ColumnSample>& samples, double x, int degree)
{
    // Normal equations in t = sample x - x, so the value at x is the constant.
    double m[3][4] = {};
    const int n = degree + 1;
    for (const ColumnSample& s : samples) {
        const double t = s.x - x;
        const double w = 1 / (1 + std::abs(t));
        const double powers[3] = {1, t, t * t};
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                m[r][c] += w * powers[r] * powers[c];
            m[r][3] += w * powers[r] * s.y;
        }
    }
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int r = k + 1; r < n; ++r)
            if (std::abs(m[r][k]) > std::abs(m[pivot][k]))
                pivot = r;
        if (std::abs(m[pivot][k]) < 1e-9)
            return std::nullopt;
        std::swap(m[k], m[pivot]);
        for (int r = 0; r < n; ++r)
            if (r != k) {
                const double f = m[r][k] / m[k][k];
                for (int c = k; c <= 3; ++c)
                    m[r][c] -= f * m[k][c];
            }
    }
    return m[0][3] / m[0][0];
}

// Where the curve runs at picture x when the two columns either side do not
// show it plainly (a gap of a dashed curve, a dash's end, a crossing cut out
// of a coloured curve): the clean columns a few canvas columns around, each
// measured on the ink nearest to the course expected there (through y0 at x
// with the given slope, picture rows per column) and kept only near it, a
// dash's cut end left out, with a curve fitted through them. Interpolated
// when there is ink on both sides, else carried on straight from one side.
std::optional<double> courseAt(const TraceEvidence& e, const PictureColumns& columns, double x, double y0,
                               double slope)
{
    const int reach = std::max(3, int(std::ceil(6 * kTwipsPerPixelX / e.mapping.x().twipsPerPicturePixel())));
    const double near = std::max(2.0, 2.5 * kTwipsPerPixelY / e.mapping.y().twipsPerPicturePixel());
    const int q0 = static_cast<int>(std::floor(x - 0.5));
    std::vector<std::optional<ColumnSample>> seen;
    for (int q = q0 - reach; q <= q0 + 1 + reach; ++q) {
        const double expected = y0 + slope * (q + 0.5 - x);
        const int row = roundHalfEven32(e.mapping.y().toTwips(expected) / kTwipsPerPixelY);
        std::optional<ColumnSample> s = columns.centre(q, row, -1, -1, expected);
        if (s && (s->grid || std::abs(s->y - expected) > near))
            s.reset();
        seen.push_back(s);
    }
    std::vector<ColumnSample> kept;
    int before = 0, after = 0;
    for (std::size_t k = 1; k + 1 < seen.size(); ++k)
        if (seen[k] && seen[k]->clean && seen[k - 1] && seen[k + 1]) {
            kept.push_back(*seen[k]);
            (seen[k]->x < x ? before : after) += 1;
        }
    // A bend needs two columns each side to show; a straight course two
    // columns, or three when they lie either side.
    if (before >= 2 && after >= 2 && kept.size() >= 5)
        return polynomialAt(kept, x, 2);
    if (kept.size() >= (before && after ? 3u : 2u))
        return polynomialAt(kept, x, 1);
    return std::nullopt;
}

bool hasDirectPixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

// The point measured in the two picture columns either side of it; `plain`
// says whether both showed the curve.
TracePoint refine(const TraceEvidence& evidence, const PictureColumns& measure, const TracePoint& point, bool& plain)
{
    plain = false;
    // The columns whose centres lie either side of the exact x.
    const double x = evidence.mapping.x().toPicture(point.xt);
    const int q0 = static_cast<int>(std::floor(x - 0.5));
    // A point bridged across a gap has no ink of its own to measure.
    if (point.unsure && point.runTop < 0)
        return point;
    const int answer = roundHalfEven32(point.yt / kTwipsPerPixelY);
    const auto centre = [&](int q) { return measure.centre(q, answer, point.runTop, point.runBottom); };
    const std::optional<ColumnSample> s0 = centre(q0);
    const std::optional<ColumnSample> s1 = centre(q0 + 1);
    plain = s0 && s1;
    // Where the picture has a gap at x (a dashed curve between dashes, a
    // crossing cut out of a coloured curve), the nearest ink either side
    // within two canvas columns says where the curve runs through it.
    std::optional<ColumnSample> left = s0, right = s1;
    const int spread = std::max(2, int(std::ceil(2 * kTwipsPerPixelX / evidence.mapping.x().twipsPerPicturePixel())));
    for (int d = 1; d <= spread && !left; ++d)
        left = centre(q0 - d);
    for (int d = 1; d <= spread && !right; ++d)
        right = centre(q0 + 1 + d);
    if (!left && !right)
        return point;
    // Ink on one side only (the end of a dash): carried on along the
    // course of the two nearest columns there.
    std::optional<ColumnSample> further;
    const int from = left ? int(std::floor(left->x)) : int(std::floor(right->x));
    for (int d = 1; d <= spread && !further && !(left && right); ++d)
        further = centre(left ? from - d : from + d);
    double y = left && right ? along(*left, *right, x)
               : further     ? along(left ? *left : *right, *further, x)
               : left        ? left->y
                             : right->y;
    // A column on a vertical grid line measures the line through the grid's
    // grey: then the nearest clean columns a little further out say more,
    // interpolated, or extrapolated from one side.
    if (!(s0 && s0->clean && s1 && s1->clean)) {
        std::optional<ColumnSample> left, right, further;
        for (const auto& s : {centre(q0 - 1), s0, s1, centre(q0 + 2)}) {
            if (!s || !s->clean)
                continue;
            if (s->x <= x) {
                further = left;
                left = s;
            } else if (!right) {
                right = s;
            } else if (!further) {
                further = s;
            }
        }
        if (left && right)
            y = along(*left, *right, x);
        else if ((left || right) && further)
            y = along(left ? *left : *right, *further, x);
    }
    TracePoint refined = point;
    refined.yt = static_cast<float>(evidence.mapping.y().toTwips(y));
    return refined;
}

} // namespace

TracePoint RefineTracePoint(const TraceEvidence& evidence, const TracePoint& point)
{
    std::vector<TracePoint> one{point};
    RefineTracePoints(evidence, one);
    return one.front();
}

void RefineTracePoints(TraceEvidence evidence, std::vector<TracePoint>& points)
{
    if (!evidence.canvas || evidence.picture.isNull())
        return;
    if (!hasDirectPixels(evidence.picture))
        evidence.picture = evidence.picture.convertToFormat(QImage::Format_RGB32);
    const PictureColumns measure(evidence);
    std::vector<bool> plain(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        bool b = false;
        points[k] = refine(evidence, measure, points[k], b);
        plain[k] = b;
    }
    // Where a point's own columns did not show the curve plainly, the
    // columns around it say where it runs, along the course its neighbours
    // give.
    const CanvasPictureMapping& map = evidence.mapping;
    const auto px = [&](std::size_t k) { return map.x().toPicture(points[k].xt); };
    const auto py = [&](std::size_t k) { return map.y().toPicture(points[k].yt); };
    std::vector<float> fitted(points.size());
    for (std::size_t k = 0; k < points.size(); ++k) {
        fitted[k] = points[k].yt;
        if (plain[k] || points.size() < 2)
            continue;
        const std::size_t a = k > 0 ? k - 1 : k, b = k + 1 < points.size() ? k + 1 : k;
        const double slope = (py(b) - py(a)) / (px(b) - px(a));
        if (const auto y = courseAt(evidence, measure, px(k), py(k), slope))
            fitted[k] = static_cast<float>(map.y().toTwips(*y));
    }
    for (std::size_t k = 0; k < points.size(); ++k) {
        points[k].yt = fitted[k];
    }
}
