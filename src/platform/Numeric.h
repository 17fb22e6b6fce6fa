#pragma once
// Number rules shared by every part of the program: one rounding helper, the
// twips/pixel factors. Nothing else rounds on its own.
#include <cmath>
#include <cstdint>

// Positions in the model are twips (1/1440 inch); one screen pixel is 15 twips
// at 96 dpi, which is what every coordinate in the program assumes.
inline constexpr int kTwipsPerPixelX = 15;
inline constexpr int kTwipsPerPixelY = 15;

// Nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
// std::nearbyint uses the current rounding mode, which is round-to-nearest-even
// unless someone changed it; the program never does.
inline std::int64_t roundHalfEven(double v) { return static_cast<std::int64_t>(std::nearbyint(v)); }
inline std::int32_t roundHalfEven32(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

// Canvas pixel that holds a position given in twips. Every drawing operation and
// every reading of a mouse position goes through this one mapping, so a point
// drawn at (x, y) twips and a click reported at (x, y) twips meet on one pixel.
inline int twipsToPixelX(double twips) { return static_cast<int>(std::floor(twips / kTwipsPerPixelX)); }
inline int twipsToPixelY(double twips) { return static_cast<int>(std::floor(twips / kTwipsPerPixelY)); }
