#pragma once
// Where every marker on the canvas stands, in canvas twips. The widgets are
// placed from these numbers; the numbers are never read back from the widgets.
// The reference lines themselves stand where the calibration's reference
// positions say: they are kept there alone.
#include "session/TwipsRect.h"

#include <algorithm>

// A reference line is drawn on one canvas pixel: the nearest to its position,
// and never off a canvas `pixels` long. The position itself may lie between
// pixels; only a mouse drag puts it on the drawn pixel.
inline int lineDrawnPixel(double twips, int twipsPerPixel, int pixels)
{
    return std::clamp(roundHalfEven32(twips / twipsPerPixel), 0, std::max(pixels - 1, 0));
}

struct MarkerGeometry {
    TwipsRect lblXY1{733, 3540, 140, 140};
    TwipsRect lblXY2{5170, 1380, 135, 135};
    // Ruler labels: left in the x ruler, top in the y ruler.
    TwipsRect lblX1Index{695, -30, 255, 255};
    TwipsRect lblX2Index{5145, -30, 255, 255};
    TwipsRect lblY1Index{30, 3480, 255, 285};
    TwipsRect lblY2Index{30, 1320, 255, 255};
    TwipsRect lblStartPointC{840, 1920, 135, 135};
    TwipsRect lblStartPointTxt{1020, 2040, 495, 495};
    TwipsRect shpRectangle{480, 1500, 750, 750};
    TwipsRect lblEndLine{5520, 0, 60, 99999};
    TwipsRect lblEndLineTxt{5640, 4440, 495, 495};
};
