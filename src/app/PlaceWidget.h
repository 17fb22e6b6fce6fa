#pragma once
#include "session/TwipsRect.h"

#include <QWidget>
#include <algorithm>

// A widget at a twips rectangle: the top-left on the pixel that holds it, the
// size rounded, never below one pixel.
inline void placeWidget(QWidget* w, const TwipsRect& r)
{
    const int px = twipsToPixelX(r.left);
    const int py = twipsToPixelY(r.top);
    const int pw = std::max(1, roundHalfEven32(r.width / kTwipsPerPixelX));
    const int ph = std::max(1, roundHalfEven32(r.height / kTwipsPerPixelY));
    w->setGeometry(px, py, pw, ph);
}
