#include "trace/CurveInk.h"

#include <algorithm>
#include <cmath>

namespace {

// How far a blend may stray from the straight mix of ink and paper: a share
// of its distance from white, as JPEG's coarser colour darkens or pales a
// thin coloured line's pixels, but not so far that a grey grid line next to a
// red curve passes; and a little noise on near-white pixels.
constexpr double kStrayShare = 0.3;
constexpr double kNoise = 24;

// (white - a) . (white - b)
double paperDot(int r1, int g1, int b1, int r2, int g2, int b2)
{
    return double(255 - r1) * (255 - r2) + double(255 - g1) * (255 - g2) + double(255 - b1) * (255 - b2);
}

} // namespace

CurveInk CurveInk::dark()
{
    return CurveInk();
}

CurveInk CurveInk::nearColour(const BinarizeSettings& settings)
{
    CurveInk ink;
    ink.binarised_ = true;
    ink.settings_ = settings;
    ink.red_ = settings.selRed();
    ink.green_ = settings.selGreen();
    ink.blue_ = settings.selBlue();
    return ink;
}

bool CurveInk::isInk(QRgb pixel) const
{
    if (binarised_)
        return BinarizeMatches(settings_, qRed(pixel), qGreen(pixel), qBlue(pixel));
    return isDarkColour(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

bool CurveInk::isLine(QRgb pixel) const
{
    return isInk(pixel) || (amount(pixel) >= 0.5 && isBlendOf(pixel, colour()));
}

double CurveInk::amount(QRgb pixel) const
{
    const double full = paperDot(red_, green_, blue_, red_, green_, blue_);
    // A curve colour next to white cannot be told from the paper by shade.
    if (full < 1)
        return isInk(pixel) ? 1 : 0;
    return paperDot(qRed(pixel), qGreen(pixel), qBlue(pixel), red_, green_, blue_) / full;
}

bool CurveInk::isBlendOf(QRgb edge, QRgb core) const
{
    const int cr = qRed(core), cg = qGreen(core), cb = qBlue(core);
    const double full = paperDot(cr, cg, cb, cr, cg, cb);
    if (full < 1)
        return false;
    const int er = qRed(edge), eg = qGreen(edge), eb = qBlue(edge);
    const double share = std::clamp(paperDot(er, eg, eb, cr, cg, cb) / full, 0.0, 1.0);
    const auto stray = [&](int value, int inkValue) { return value - (255 - share * (255 - inkValue)); };
    const double off = std::hypot(stray(er, cr), stray(eg, cg), stray(eb, cb));
    return off <= std::max(kNoise, kStrayShare * std::sqrt(paperDot(er, eg, eb, er, eg, eb)));
}
