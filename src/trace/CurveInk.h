#pragma once
// What counts as the curve's ink in the loaded picture, and how much of a
// pixel is ink. The tracer's own rule is "dark"; once the picture has been
// binarised against a curve colour, ink is what that binarisation keeps.
#include "raster/Binarize.h"

#include <QRgb>

// The tracer's dark test: red, green and blue each at most 100.
inline constexpr int kDarkLimit = 100;
inline bool isDarkColour(int red, int green, int blue)
{
    return red <= kDarkLimit && green <= kDarkLimit && blue <= kDarkLimit;
}

class CurveInk {
public:
    static CurveInk dark();
    // Ink is what the binarisation with these settings turns black; its
    // colour is the curve colour.
    static CurveInk nearColour(const BinarizeSettings& settings);

    bool isInk(QRgb pixel) const;
    // Ink, or a pixel at least half ink that is a blend of the ink colour and
    // white paper: a JPEG or a blur desaturates a thin coloured line below the
    // binarisation tolerance without it being any less the line.
    bool isLine(QRgb pixel) const;

    // How much of the pixel the ink covers, reading the pixel as a blend of
    // white paper and the ink colour: 0 for white, 1 for the ink colour. It is
    // linear in the pixel, so an anti-aliased edge weighs what it covers
    // whatever shade the line itself has. Not clamped.
    double amount(QRgb pixel) const;

    // Whether `edge` is a blend of the colour `core` and white paper: the soft
    // edge of a line drawn in `core`, rather than a grid line or another
    // colour touching it.
    bool isBlendOf(QRgb edge, QRgb core) const;

    QRgb colour() const { return qRgb(red_, green_, blue_); }

private:
    bool binarised_ = false;
    BinarizeSettings settings_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
};
