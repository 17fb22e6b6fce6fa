#include "raster/CanvasPictureMapping.h"

#include "platform/Numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Both axes have 15 twips to the pixel, so one axis type serves both.
static_assert(kTwipsPerPixelX == kTwipsPerPixelY);
constexpr double kTwips = kTwipsPerPixelX;

// Integer division rounding up, for a positive divisor and any numerator.
std::int64_t ceilDiv(std::int64_t n, std::int64_t d)
{
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

} // namespace

// An empty side would make every position infinite; one pixel keeps the
// arithmetic finite and the caller has nothing to measure anyway.
CanvasPictureMapping::Axis::Axis(int canvasPixels, int picturePixels)
    : canvas_(std::max(canvasPixels, 1)), picture_(std::max(picturePixels, 1))
{
}

// Canvas pixel p covers [p, p + 1) in canvas pixel units and its centre is
// twip 15 * p, so twip t lies at t / 15 + 0.5 of those units.
double CanvasPictureMapping::Axis::toPicture(double twips) const
{
    return (twips / kTwips + 0.5) * picture_ / canvas_;
}

double CanvasPictureMapping::Axis::toTwips(double picture) const
{
    return (picture * canvas_ / picture_ - 0.5) * kTwips;
}

double CanvasPictureMapping::Axis::twipsPerPicturePixel() const
{
    return kTwips * canvas_ / picture_;
}

double CanvasPictureMapping::Axis::fineStep(double twips, int direction) const
{
    // A position already on the grid counts as on it despite rounding: the
    // program keeps positions as 32-bit floats, a few thousandths of a pixel
    // apart on a wide canvas.
    constexpr double kOnGrid = 1e-2;
    const auto next = [&](double k) { return direction > 0 ? std::floor(k + kOnGrid) + 1 : std::ceil(k - kOnGrid) - 1; };
    if (picture_ >= canvas_)
        return toTwips(next(toPicture(twips) - 0.5) + 0.5);
    const double quarter = kTwips / 4;
    return quarter * next(twips / quarter);
}

// Exact in integers: floor((q + 0.5) * C / P) = floor((2q + 1) * C / 2P).
int CanvasPictureMapping::Axis::canvasPixelOf(int picturePixel) const
{
    const std::int64_t q = std::clamp(picturePixel, 0, picture_ - 1);
    return static_cast<int>((2 * q + 1) * canvas_ / (2 * std::int64_t(picture_)));
}

// q belongs to canvas pixels a..b when 2aP <= (2q + 1)C < 2(b + 1)P.
std::pair<int, int> CanvasPictureMapping::Axis::picturePixelsIn(int firstCanvasPixel, int lastCanvasPixel) const
{
    const std::int64_t c = canvas_;
    const std::int64_t p = picture_;
    const std::int64_t first = ceilDiv(2 * std::int64_t(firstCanvasPixel) * p - c, 2 * c);
    const std::int64_t last = ceilDiv(2 * (std::int64_t(lastCanvasPixel) + 1) * p - c, 2 * c) - 1;
    return {static_cast<int>(std::clamp<std::int64_t>(first, 0, p)),
            static_cast<int>(std::clamp<std::int64_t>(last, -1, p - 1))};
}

CanvasPictureMapping::CanvasPictureMapping(QSize canvasPixels, QSize picturePixels)
    : x_(canvasPixels.width(), picturePixels.width()), y_(canvasPixels.height(), picturePixels.height())
{
}
