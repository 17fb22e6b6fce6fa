#pragma once
// Removes long dark straight lines (axes, frames, grid lines): every whole row,
// then every whole column, whose average colour is dark in all three channels
// becomes white.
#include "raster/PixelBuffer.h"

// Works on the picture held in a buffer dimensioned for it (W x H pixels in
// columns 0..W - 1 of rows 1..H). A row is erased when its red, green and blue
// averages over its W pixels are all below 150; columns are then judged the same
// way over their H pixels, on the picture as the row pass left it. Erased
// pixels get red, green and blue 255 and keep their reserved byte. The spare
// row and column are neither averaged nor changed.
void AutoErasePixels(PixelBuffer& buffer);
