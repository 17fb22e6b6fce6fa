#pragma once
// The dark runs of one canvas column near the traced curve, and what each of
// them looks like: part of a long horizontal line (a grid or frame line), or
// far taller than the curve is (a vertical line, a marker symbol, a crossing).
#include "raster/PixelBuffer.h"

#include <cstdint>
#include <vector>

struct InkRun {
    std::int32_t top = 0;    // buffer rows, inclusive
    std::int32_t bottom = 0;
    // Part of a grid or frame line: one of its rows is dark far to the left
    // and right of this column, or the column is, far above and below it.
    bool line = false;

    std::int32_t height() const { return bottom - top + 1; }
    double centre() const { return (top + bottom) / 2.0; }
    // How far `row` lies outside the run; 0 inside it.
    double distance(double row) const { return row < top ? top - row : row > bottom ? row - bottom : 0.0; }
};

class ColumnInk {
public:
    explicit ColumnInk(const PixelBuffer& buffer) : buffer_(buffer) {}

    // Buffer rows 1..maxY only, as the column search reads them: the spare row is not ink.
    bool dark(std::int32_t x, std::int32_t row) const;

    // Every dark run of column x that reaches into buffer rows from..to, each
    // followed to its ends however far it goes. Where there is more than one,
    // each is tested for grid lines, except runs taller than `lineTestUpTo`
    // are not tested for horizontal lines (nothing that tall is a grid line).
    std::vector<InkRun> runs(std::int32_t x, std::int32_t from, std::int32_t to, std::int32_t lineTestUpTo) const;

    // Whether row `row` is dark over much of the stretch either side of x: a
    // grid or frame line, solid or dotted, rather than a curve passing through.
    bool horizontalLine(std::int32_t x, std::int32_t row) const;

    // Whether the run is one piece of a dotted vertical line through column x.
    bool verticalLine(std::int32_t x, const InkRun& run) const;

private:
    const PixelBuffer& buffer_;
};
