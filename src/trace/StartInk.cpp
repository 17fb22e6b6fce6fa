#include "trace/StartInk.h"

#include "trace/CurveInk.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A pixel whose channels differ by this much is coloured, not grey.
constexpr int kChroma = 60;

int chroma(const Bgra& p)
{
    return std::max({p.red, p.green, p.blue}) - std::min({p.red, p.green, p.blue});
}

bool dark(const Bgra& p)
{
    return isDarkColour(p.red, p.green, p.blue);
}

// How much colour a pixel holds: the line's core holds most, its soft edge
// toward the paper less.
int strength(const Bgra& p)
{
    return 3 * 255 - p.red - p.green - p.blue + chroma(p);
}

} // namespace

StartInk FindStartInk(const PixelBuffer& canvas, std::int32_t column, std::int32_t row, std::int16_t range,
                      float tolerancePercent)
{
    StartInk found;
    const int reach = std::max<int>(range, 1) / 2;
    // Canvas row r is buffer row r + 1; the spare row and column are no picture.
    const auto at = [&](int c, int r) -> const Bgra* {
        if (c < 0 || c >= canvas.maxX() || r < 0 || r >= canvas.maxY())
            return nullptr;
        return &canvas.at(c, r + 1);
    };
    // Nearest first, ring by ring.
    for (int d = 0; d <= reach; ++d) {
        const Bgra* best = nullptr;
        int bestColumn = 0, bestRow = 0;
        for (int dr = -d; dr <= d; ++dr)
            for (int dc = -d; dc <= d; ++dc) {
                if (std::max(std::abs(dr), std::abs(dc)) != d)
                    continue;
                const Bgra* p = at(column + dc, row + dr);
                if (!p)
                    continue;
                if (dark(*p)) {
                    found.kind = StartInk::Kind::Dark;
                    return found;
                }
                if (chroma(*p) >= kChroma && (!best || strength(*p) > strength(*best))) {
                    best = p;
                    bestColumn = column + dc;
                    bestRow = row + dr;
                }
            }
        if (!best)
            continue;
        // The strongest colour close by is the line's core rather than its edge.
        for (int dr = -2; dr <= 2; ++dr)
            for (int dc = -2; dc <= 2; ++dc)
                if (const Bgra* p = at(bestColumn + dc, bestRow + dr); p && chroma(*p) >= kChroma && strength(*p) > strength(*best))
                    best = p;
        found.kind = StartInk::Kind::Colour;
        found.colour.binarizeAccepted = true;
        found.colour.curveColor = quint32(best->red) | quint32(best->green) << 8 | quint32(best->blue) << 16;
        found.colour.tolerancePercent = tolerancePercent;
        return found;
    }
    return found;
}

PixelBuffer ColourMask(const PixelBuffer& canvas, const BinarizeSettings& colour)
{
    PixelBuffer mask = canvas;
    BinarizePixels(mask, colour);
    return mask;
}
