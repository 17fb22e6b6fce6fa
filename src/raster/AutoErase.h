#pragma once
// Removes long dark straight lines (axes, frames, grid lines): every whole row,
// then every whole column, whose average colour is dark in all three channels
// becomes white.
#include "raster/PixelBuffer.h"

// Runs over the whole buffer, spare row and column included. A row is erased
// when its red, green and blue sums, each divided by rowDivisor, are all below
// 150; columns are then judged the same way with columnDivisor, on the picture
// as the row pass left it. Erased elements get red, green and blue 255 and keep
// their reserved byte. The divisors are the caller's (the canvas width and
// height in pixels plus one), not the buffer's element counts.
void AutoErasePixels(PixelBuffer& buffer, float rowDivisor, float columnDivisor);
