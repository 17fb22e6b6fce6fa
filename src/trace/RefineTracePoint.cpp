#include "trace/RefineTracePoint.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Light canvas rows a run may step over: a crossing grid line, binarised or
// erased away, is one or two rows.
constexpr int kCanvasGap = 2;

// How much ink a pixel beside a line may show and still be the paper the line
// is drawn on, not a grid line it runs along or across.
constexpr double kPaperAmount = 0.25;

// The share of a row's pixels far either side that a grid line inks: a
// dotted line half of them, a curve passing through almost none.
constexpr double kGridShare = 0.3;

// The curve's centre in one picture column. On a clean column the line lies
// on paper; on a column that also holds a vertical grid line, or a line's
// neighbour, what surrounds it is not paper and the centre is less sure.
struct ColumnSample {
    double x = 0; // the column's centre, picture coordinates
    double y = 0;
    bool clean = false;
};

// y at x on the straight line through a and b.
double along(const ColumnSample& a, const ColumnSample& b, double x)
{
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

bool hasDirectPixels(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

class Measure {
public:
    explicit Measure(const TraceEvidence& e) : e_(e), height_(e.picture.height()) {}

    // Centre of the curve in picture column q, in picture coordinates, near
    // canvas row `answer`; nothing when the picture has no ink there.
    std::optional<ColumnSample> columnCentre(int q, int answer, int runTop, int runBottom) const
    {
        if (q < 0 || q >= e_.picture.width())
            return std::nullopt;
        const int c = e_.mapping.x().canvasPixelOf(q);

        // The canvas's dark run nearest to the answer, in the canvas column
        // that shows this picture column. On a steep stretch that column may
        // be the examined one's neighbour, so the run need not hold the answer.
        // Only the ink of the run the walk took counts (and its neighbour's
        // ink touching it): another curve, a label or an axis in the same
        // column is not what was traced, however much ink it holds.
        const int half = std::max<int>(1, e_.range / 2);
        const int lowest = runTop >= 0 ? runTop - 1 : answer - half;
        const int highest = runTop >= 0 ? runBottom + 1 : answer + half;
        const auto seedAt = [&](int r) { return r >= lowest && r <= highest && maskDark(c, r); };
        int seed = -1;
        for (int d = 0; d <= half && seed < 0; ++d)
            seed = seedAt(answer - d) ? answer - d : seedAt(answer + d) ? answer + d : -1;
        if (seed < 0)
            return std::nullopt;
        // A grid line crossing the curve, binarised or erased away, splits
        // the curve's run on the canvas; the two halves are one line.
        // Nor does a vertical line the run crosses, dark all down the column.
        const int floor = runTop >= 0 ? lowest - kCanvasGap : std::numeric_limits<int>::min();
        const int ceiling = runTop >= 0 ? highest + kCanvasGap : std::numeric_limits<int>::max();
        const auto inRun = [&](int r) { return r >= floor && r <= ceiling && maskDark(c, r); };
        const int top = reach(seed, -1, kCanvasGap, inRun);
        const int bottom = reach(seed, +1, kCanvasGap, inRun);
        const auto [pa, pb] = e_.mapping.y().picturePixelsIn(top, bottom);

        // Within it, the line nearest to the answer, across the same gaps.
        const double p0 = e_.mapping.y().toPicture(double(answer) * kTwipsPerPixelY);
        int nearest = -1;
        for (int p = pa; p <= pb; ++p)
            if (e_.ink.isLine(at(q, p)) && (nearest < 0 || std::abs(p + 0.5 - p0) < std::abs(nearest + 0.5 - p0)))
                nearest = p;
        if (nearest < 0)
            return std::nullopt;
        const int pictureGap = int(std::ceil(kCanvasGap / e_.mapping.y().twipsPerPicturePixel() * kTwipsPerPixelY));
        const auto line = [&](int p) { return p >= pa && p <= pb && e_.ink.isLine(at(q, p)); };
        int first = reach(nearest, -1, pictureGap, line);
        int last = reach(nearest, +1, pictureGap, line);
        // A grid line the curve touches at one end of its run is not the
        // curve: the centre is the curve's own rows, unless the line is all
        // the run holds (the curve running along it).
        const auto gridRow = [&](int p) { return horizontalLine(q, p); };
        int a = first, b = last;
        while (a < b && (gridRow(a) || !line(a)))
            ++a;
        while (b > a && (gridRow(b) || !line(b)))
            --b;
        if (!gridRow(a) && (a != first || b != last)) {
            first = a;
            last = b;
        }

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
        return ColumnSample{q + 0.5, profileCentre(q, lo, first, last, hi), paper(q, lo - 1) && paper(q, hi + 1)};
    }

private:
    // Whether picture row p is ink far to the left and right of column q, as
    // a grid line is and a curve passing through is not.
    bool horizontalLine(int q, int p) const
    {
        const int skip = int(std::ceil(3 * kTwipsPerPixelX / e_.mapping.x().twipsPerPicturePixel()));
        const int far = std::max(12, 8 * skip);
        // Stops as soon as the answer is known: a curve's paper shows within
        // a few pixels, so a clean column costs little.
        const auto enough = [&](int step) {
            const int total = std::min(far, step < 0 ? q : e_.picture.width() - 1 - q) - skip;
            const int needed = int(std::ceil(kGridShare * total));
            if (total <= 0)
                return false;
            const QRgb* row = reinterpret_cast<const QRgb*>(e_.picture.constScanLine(p));
            int count = 0;
            for (int d = skip + 1, left = total; left > 0; ++d, --left) {
                if (count + left < needed)
                    return false;
                if (e_.ink.isLine(row[q + step * d]) && ++count >= needed)
                    return true;
            }
            return false;
        };
        return enough(-1) && enough(+1);
    }

    bool paper(int q, int p) const
    {
        if (p < 0 || p >= height_)
            return true;
        const QRgb pixel = at(q, p);
        return !e_.ink.isInk(pixel) && e_.ink.amount(pixel) <= kPaperAmount;
    }

    // The farthest position from `from` in direction `step` that passes
    // `test`, stepping over at most `gap` failing positions at a time.
    template <typename Test>
    static int reach(int from, int step, int gap, Test test)
    {
        int end = from;
        for (int p = from + step, missed = 0; missed <= gap; p += step) {
            if (test(p)) {
                end = p;
                missed = 0;
            } else {
                ++missed;
            }
        }
        return end;
    }

    // The centre of the line whose profile in column q is rows lo..hi: the
    // line itself first..last, its soft edges outside. Each row is weighted by
    // its ink; a gap inside the line (where a grid line crosses it) by the ink
    // on either side, as the line runs on behind the crossing.
    //
    // A partly covered pixel at either end holds its ink on the side toward
    // the line, so it counts there (at 1 - a/2 into the top pixel, a/2 into
    // the bottom one), not at its own centre: that makes a band of any width
    // come out exact, not only one that is a whole pixel wide.
    double profileCentre(int q, int lo, int first, int last, int hi) const
    {
        std::vector<double>& weights = weights_;
        weights.clear();
        for (int p = lo; p <= hi; ++p)
            weights.push_back(p < first || p > last || e_.ink.isLine(at(q, p))
                                  ? std::clamp(e_.ink.amount(at(q, p)), 0.0, 1.0)
                                  : -1.0);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (weights[i] >= 0)
                continue;
            std::size_t j = i;
            while (weights[j] < 0)
                ++j;
            // first and last are line pixels, so a gap has both neighbours.
            for (std::size_t k = i; k < j; ++k)
                weights[k] = weights[i - 1] + (weights[j] - weights[i - 1]) * double(k - i + 1) / double(j - i + 1);
        }
        std::size_t a = 0, b = weights.size() - 1;
        while (a < b && weights[a] <= 0)
            ++a;
        while (b > a && weights[b] <= 0)
            --b;
        double weight = 0, moment = 0;
        for (std::size_t i = a; i <= b; ++i) {
            const double w = weights[i];
            const double p = lo + double(i);
            weight += w;
            moment += w * (a == b ? p + 0.5 : i == a ? p + 1 - w / 2 : i == b ? p + w / 2 : p + 0.5);
        }
        return weight > 0 ? moment / weight : (lo + hi + 1) / 2.0;
    }

    QRgb at(int q, int p) const { return reinterpret_cast<const QRgb*>(e_.picture.constScanLine(p))[q]; }

    // Whether the canvas shows the curve in this row at this column or at one
    // beside it. A canvas pixel holding both the curve and a vertical grid
    // line is binarised or erased away with the grid, while its neighbours in
    // the row still show the curve. A horizontal grid line, erased in every
    // column, stays out all the same, and a vertical one cannot move a centre
    // measured along the column.
    bool maskDark(int column, int row) const
    {
        return canvasDark(column, row) || canvasDark(column - 1, row) || canvasDark(column + 1, row);
    }

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
    // Reused: a run measures thousands of columns.
    mutable std::vector<double> weights_;
};

TracePoint refine(const TraceEvidence& evidence, const Measure& measure, const TracePoint& point)
{
    // The columns whose centres lie either side of the exact x.
    const double x = evidence.mapping.x().toPicture(point.xt);
    const int q0 = static_cast<int>(std::floor(x - 0.5));
    // A point bridged across a gap has no ink to measure.
    if (point.unsure && point.runTop < 0)
        return point;
    const int answer = roundHalfEven32(point.yt / kTwipsPerPixelY);
    const auto centre = [&](int q) { return measure.columnCentre(q, answer, point.runTop, point.runBottom); };
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
    const Measure measure(evidence);
    for (TracePoint& p : points) {
        p = refine(evidence, measure, p);
    }
}
