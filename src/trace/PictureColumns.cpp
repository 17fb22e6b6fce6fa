#include "trace/PictureColumns.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>

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

// The farthest position from `from` in direction `step` that passes
// `test`, stepping over at most `gap` failing positions at a time.
template <typename Test>
int reach(int from, int step, int gap, Test test)
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

} // namespace

std::optional<ColumnSample> PictureColumns::centre(int q, int answer, int runTop, int runBottom, double prefer) const
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
    const double p0 = std::isnan(prefer) ? e_.mapping.y().toPicture(double(answer) * kTwipsPerPixelY) : prefer;
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
    const bool grid = gridRow(a);
    if (!grid && (a != first || b != last)) {
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
    return ColumnSample{q + 0.5, profileCentre(q, lo, first, last, hi), paper(q, lo - 1) && paper(q, hi + 1), grid};
}

// Whether picture row p is ink far to the left and right of column q, as
// a grid line is and a curve passing through is not.
bool PictureColumns::horizontalLine(int q, int p) const
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

bool PictureColumns::paper(int q, int p) const
{
    if (p < 0 || p >= height_)
        return true;
    const QRgb pixel = at(q, p);
    return !e_.ink.isInk(pixel) && e_.ink.amount(pixel) <= kPaperAmount;
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
double PictureColumns::profileCentre(int q, int lo, int first, int last, int hi) const
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

// Whether the canvas shows the curve in this row at this column or at one
// beside it. A canvas pixel holding both the curve and a vertical grid
// line is binarised or erased away with the grid, while its neighbours in
// the row still show the curve. A horizontal grid line, erased in every
// column, stays out all the same, and a vertical one cannot move a centre
// measured along the column.
bool PictureColumns::maskDark(int column, int row) const
{
    return canvasDark(column, row) || canvasDark(column - 1, row) || canvasDark(column + 1, row);
}

// Canvas row r is buffer row r + 1; the spare row and column are not canvas.
bool PictureColumns::canvasDark(int column, int row) const
{
    const PixelBuffer& b = *e_.canvas;
    if (column < 0 || column >= std::min(b.maxX(), e_.mapping.x().canvasPixels()) || row < 0
        || row >= std::min(b.maxY(), e_.mapping.y().canvasPixels()))
        return false;
    const Bgra& p = b.at(column, row + 1);
    return isDarkColour(p.red, p.green, p.blue);
}
