#pragma once
// Builds pixel buffers for the tracer tests: a white picture with dark rows or
// pixels set where a test needs them. Rows are buffer rows (picture row + 1).
#include "raster/PixelBuffer.h"

#include <initializer_list>
#include <utility>

inline PixelBuffer whiteBuffer(int maxX, int maxY)
{
    PixelBuffer b;
    b.redim(maxX, maxY);
    for (int y = 1; y <= maxY; ++y)
        for (int x = 0; x <= maxX; ++x)
            b.at(x, y) = Bgra{255, 255, 255, 0};
    return b;
}

inline void darkRows(PixelBuffer& b, int x, int first, int last)
{
    for (int y = first; y <= last; ++y)
        b.at(x, y) = Bgra{0, 0, 0, 0};
}

// A horizontal dark line at buffer row `row` across columns first..last.
inline void hLine(PixelBuffer& b, int row, int first, int last)
{
    for (int x = first; x <= last; ++x)
        b.at(x, row) = Bgra{0, 0, 0, 0};
}
