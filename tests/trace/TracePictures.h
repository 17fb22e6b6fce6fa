#pragma once
// White pixel buffers with dark pixels where a tracer test needs them.
// Rows are buffer rows (picture row + 1).
#include "raster/PixelBuffer.h"

inline PixelBuffer whiteBuffer(int maxX, int maxY)
{
    PixelBuffer b;
    b.redim(maxX, maxY);
    for (int y = 1; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x)
            b.at(x, y) = Bgra{255, 255, 255, 0};
    return b;
}

// Darkens columns x0..x1 of rows y0..y1, inclusive.
inline void darken(PixelBuffer& b, int x0, int x1, int y0, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            b.at(x, y) = Bgra{0, 0, 0, 0};
}
