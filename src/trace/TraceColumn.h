#pragma once
// The column step of the tracer: given the row at which the curve was last
// seen, find where it crosses the next pixel column of the pixel buffer.
#include "raster/PixelBuffer.h"

#include <cstdint>

struct TraceColumnResult {
    double n = 0;   // number of rows counted; 0 means nothing was found
    double sum = 0; // sum of the rows counted (fractional with an odd range)

    bool found() const { return n != 0; }
    // The row the tracer moves to; halves go to the even row. Only meaningful
    // when found().
    std::int32_t row() const;
};

// Mean row of the dark pixels of column x near row y. `range` is the height of
// the search window used when row y itself is light; `height` is the picture
// height in pixels (the canvas height in twips / 15, not rounded).
//
// Only the picture rows 1..maxY of the buffer are ever read; the spare row 0,
// rows beyond the buffer and columns outside 0..maxX count as light, so a
// column outside the buffer finds nothing.
TraceColumnResult TraceColumn(const PixelBuffer& buffer, std::int32_t x, std::int32_t y,
                              std::int16_t range, double height);

// The same step with only the buffer rows first..last taken as they are and
// every other row read as light: the search as it would go if that run of ink
// were all the column held.
TraceColumnResult TraceColumnWithin(const PixelBuffer& buffer, std::int32_t x, std::int32_t y,
                                    std::int16_t range, double height, std::int32_t first, std::int32_t last);
