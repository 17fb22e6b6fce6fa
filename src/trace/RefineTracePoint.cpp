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

bool hasDirectPixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

TracePoint refine(const TraceEvidence& evidence, const PictureColumns& measure, const TracePoint& point)
{
    // The columns whose centres lie either side of the exact x.
    const double x = evidence.mapping.x().toPicture(point.xt);
    const int q0 = static_cast<int>(std::floor(x - 0.5));
    // A point bridged across a gap has no ink to measure.
    if (point.unsure && point.runTop < 0)
        return point;
    const int answer = roundHalfEven32(point.yt / kTwipsPerPixelY);
    const auto centre = [&](int q) { return measure.centre(q, answer, point.runTop, point.runBottom); };
    const std::optional<ColumnSample> s0 = centre(q0);
    const std::optional<ColumnSample> s1 = centre(q0 + 1);
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
    for (TracePoint& p : points) {
        p = refine(evidence, measure, p);
    }
}
