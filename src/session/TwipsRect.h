#pragma once
// Control positions are kept in twips as 32-bit floats, as the layout and drag
// arithmetic works on them; widgets get whole pixels only when placed.
#include "platform/Numeric.h"

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};
