#include "trace/RefineTracePoint.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

bool hasDirectPixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

class Measure {
public:
    explicit Measure(const TraceEvidence& e) : e_(e), height_(e.picture.height()) {}

    // Centre of the curve in picture column q, in picture coordinates, near
    // canvas row `answer`; nothing when the picture has no ink there.
    std::optional<double> columnCentre(int q, int answer) const
    {
        if (q < 0 || q >= e_.picture.width())
            return std::nullopt;
        const int c = e_.mapping.x().canvasPixelOf(q);

        // The canvas's dark run nearest to the answer, in the canvas column
        // that shows this picture column. On a steep stretch that column may
        // be the examined one's neighbour, so the run need not hold the answer.
        const int half = std::max<int>(1, e_.range / 2);
        int seed = -1;
        for (int d = 0; d <= half && seed < 0; ++d)
            seed = canvasDark(c, answer - d) ? answer - d : canvasDark(c, answer + d) ? answer + d : -1;
        if (seed < 0)
            return std::nullopt;
        int top = seed, bottom = seed;
        while (canvasDark(c, top - 1))
            --top;
        while (canvasDark(c, bottom + 1))
            ++bottom;
        const auto [pa, pb] = e_.mapping.y().picturePixelsIn(top, bottom);

        // Within it, the run of ink nearest to the answer.
        const double p0 = e_.mapping.y().toPicture(double(answer) * kTwipsPerPixelY);
        int nearest = -1;
        for (int p = pa; p <= pb; ++p)
            if (e_.ink.isInk(at(q, p)) && (nearest < 0 || std::abs(p + 0.5 - p0) < std::abs(nearest + 0.5 - p0)))
                nearest = p;
        if (nearest < 0)
            return std::nullopt;
        int first = nearest, last = nearest;
        while (first > pa && e_.ink.isInk(at(q, first - 1)))
            --first;
        while (last < pb && e_.ink.isInk(at(q, last + 1)))
            ++last;

        // The soft edges lighter than ink still belong to the line: without
        // them a line at 10.3 would read 10.5, and a steep line, whose edges
        // fade over several rows of a column, would be cut unevenly. An edge
        // runs outward while it is the line's own blend with the paper and
        // keeps fading. Where something of the same ink lies darker beyond
        // it (an erased grid line), the edge may be partly that neighbour's:
        // it stops there, so a neighbour can push the centre by a fraction of
        // an edge pixel but never pull it.
        const QRgb topInk = at(q, first), bottomInk = at(q, last);
        const auto fades = [&](int p, int inner, int beyond, QRgb ink) {
            if (p < 0 || p >= height_)
                return false;
            const QRgb pixel = at(q, p);
            const double amount = e_.ink.amount(pixel);
            if (e_.ink.isInk(pixel) || !e_.ink.isBlendOf(pixel, ink) || amount <= 0
                || amount >= e_.ink.amount(at(q, inner)))
                return false;
            if (beyond < 0 || beyond >= height_)
                return true;
            const QRgb next = at(q, beyond);
            return !((e_.ink.isInk(next) || e_.ink.isBlendOf(next, ink)) && e_.ink.amount(next) > amount);
        };
        int lo = first, hi = last;
        while (fades(lo - 1, lo, lo - 2, topInk))
            --lo;
        while (fades(hi + 1, hi, hi + 2, bottomInk))
            ++hi;
        return profileCentre(q, lo, hi);
    }

private:
    // The centre of the line whose profile in column q is rows lo..hi, each
    // weighted by its ink. A partly covered pixel at either end holds its ink
    // on the side toward the line, so it counts there (at 1 - a/2 into the top
    // pixel, a/2 into the bottom one), not at its own centre: that makes a band
    // of any width come out exact, not only one that is a whole pixel wide.
    double profileCentre(int q, int lo, int hi) const
    {
        const auto amount = [&](int p) { return std::clamp(e_.ink.amount(at(q, p)), 0.0, 1.0); };
        while (lo < hi && amount(lo) <= 0)
            ++lo;
        while (hi > lo && amount(hi) <= 0)
            --hi;
        double weight = 0, moment = 0;
        for (int p = lo; p <= hi; ++p) {
            const double w = amount(p);
            const double at = lo == hi ? p + 0.5 : p == lo ? p + 1 - w / 2 : p == hi ? p + w / 2 : p + 0.5;
            weight += w;
            moment += w * at;
        }
        return weight > 0 ? moment / weight : (lo + hi + 1) / 2.0;
    }

    QRgb at(int q, int p) const { return reinterpret_cast<const QRgb*>(e_.picture.constScanLine(p))[q]; }

    // Canvas row r is buffer row r + 1; the spare row and column are not canvas.
    bool canvasDark(int column, int row) const
    {
        const PixelBuffer& b = *e_.canvas;
        if (column < 0 || column >= std::min(b.maxX(), e_.mapping.x().canvasPixels()) || row < 0
            || row >= std::min(b.maxY(), e_.mapping.y().canvasPixels()))
            return false;
        const Bgra& p = b.at(column, row + 1);
        return isDarkColour(p.red, p.green, p.blue);
    }

    const TraceEvidence& e_;
    int height_;
};

} // namespace

TracePoint RefineTracePoint(const TraceEvidence& evidence, const TracePoint& point)
{
    if (!evidence.canvas || evidence.picture.isNull())
        return point;
    if (!hasDirectPixels(evidence.picture)) {
        TraceEvidence converted = evidence;
        converted.picture = evidence.picture.convertToFormat(QImage::Format_RGB32);
        return RefineTracePoint(converted, point);
    }
    const Measure measure(evidence);
    // The columns whose centres lie either side of the exact x.
    const double u = evidence.mapping.x().toPicture(point.xt) - 0.5;
    const int q0 = static_cast<int>(std::floor(u));
    const double f = u - q0;
    const int answer = roundHalfEven32(point.yt / kTwipsPerPixelY);
    const std::optional<double> y0 = measure.columnCentre(q0, answer);
    const std::optional<double> y1 = measure.columnCentre(q0 + 1, answer);
    if (!y0 && !y1)
        return point;
    const double y = y0 && y1 ? (1 - f) * *y0 + f * *y1 : y0 ? *y0 : *y1;
    TracePoint refined = point;
    refined.yt = static_cast<float>(evidence.mapping.y().toTwips(y));
    return refined;
}

void RefineTracePoints(TraceEvidence evidence, std::vector<TracePoint>& points)
{
    if (!evidence.picture.isNull() && !hasDirectPixels(evidence.picture))
        evidence.picture = evidence.picture.convertToFormat(QImage::Format_RGB32);
    for (TracePoint& p : points)
        p = RefineTracePoint(evidence, p);
}
