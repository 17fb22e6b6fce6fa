#pragma once
// What the trace follows, judged by the ink under the start marker: the dark
// curve the column search looks for, or a curve of another colour (a red or
// blue line of a chart), which it follows by that colour instead.
#include "raster/Binarize.h"
#include "raster/PixelBuffer.h"

#include <cstdint>

struct StartInk {
    enum class Kind { None, Dark, Colour };
    Kind kind = Kind::None;
    // For Kind::Colour: the curve's colour, with the binarisation tolerance.
    BinarizeSettings colour;
};

// Looks at the canvas ink nearest to the start point (canvas pixel column,
// row), within `range` pixels either way: dark ink, or a clearly coloured
// pixel (grey that is not dark is taken for paper or a light grid).
StartInk FindStartInk(const PixelBuffer& canvas, std::int32_t column, std::int32_t row, std::int16_t range,
                      float tolerancePercent);

// The canvas as the trace sees a coloured curve: its colour black, all else
// white. The picture itself is not touched.
PixelBuffer ColourMask(const PixelBuffer& canvas, const BinarizeSettings& colour);
