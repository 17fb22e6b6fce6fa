#pragma once
// Reduces a picture to black (near the curve colour) and white (everything else).
#include "raster/PixelBuffer.h"

#include <QtGlobal>

#include <QImage>

#include <functional>

struct BinarizeSettings {
    // True when the binarisation dialog was last closed with its accept button.
    bool binarizeAccepted = false;
    // The curve colour as a colour value 0x00BBGGRR (red in the low byte).
    quint32 curveColor = 0;
    // A whole number 0..100 taken from the tolerance slider.
    float tolerancePercent = 30;

    int selRed() const { return int(curveColor & 255u); }
    int selGreen() const { return int((curveColor / 256u) & 255u); }
    int selBlue() const { return int((curveColor / 65536u) & 255u); }
};

// The per-pixel rule, for one pixel's red, green and blue. Each channel may
// differ from the curve colour by at most t = tolerancePercent * 255 / 100,
// except that the blue upper limit B + t is rounded (halves to even) first.
bool BinarizeMatches(const BinarizeSettings& settings, int red, int green, int blue);

// Applies the rule to every element of the buffer, spare row and column
// included: a match becomes black, anything else white; the reserved byte is
// kept. progress(x) is called a few times with rising x, the last time with
// maxX, in proportion to the work done: x / maxX of the picture is finished.
void BinarizePixels(PixelBuffer& buffer, const BinarizeSettings& settings,
                    const std::function<void(int x)>& progress = {});

// The same rule straight on a 32-bit picture, every pixel written opaque, as
// reading it into a buffer, binarising and writing it back would leave it;
// progress as above, up to the picture's width. False, and the picture
// untouched, for another format or when there is no memory for the result.
bool BinarizeImage(QImage& image, const BinarizeSettings& settings, const std::function<void(int x)>& progress = {});
