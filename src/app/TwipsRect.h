#pragma once
// Control positions are kept in twips as 32-bit floats, as the layout and drag
// arithmetic works on them; widgets get whole pixels only when placed.
#include "platform/Numeric.h"

#include <QWidget>
#include <algorithm>

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

inline void placeWidget(QWidget* w, const TwipsRect& r)
{
    const int px = twipsToPixelX(r.left);
    const int py = twipsToPixelY(r.top);
    const int pw = std::max(1, roundHalfEven32(r.width / kTwipsPerPixelX));
    const int ph = std::max(1, roundHalfEven32(r.height / kTwipsPerPixelY));
    w->setGeometry(px, py, pw, ph);
}
