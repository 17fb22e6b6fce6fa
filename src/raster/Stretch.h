#pragma once
#include <QImage>
#include <QSize>

// Stretches an opaque RGB32 picture to exactly `size` pixels, x and y independently.
// Shrinking keeps thin dark lines: a destination pixel takes the darkest value
// (per-channel minimum) of the source pixels it covers, so a one-pixel curve
// never vanishes or turns grey. Enlarging repeats source pixels, each
// destination pixel taking the source pixel under its centre. Needs one row of
// memory beyond the two pictures; a null result means memory ran out.
QImage stretchImage(const QImage& source, QSize size);
