#pragma once
#include <QByteArray>

// Qt's SVG parser stops reading a path's data after 32,767 elements; a plot of
// a few hundred thousand samples would lose its right part. Unfilled paths made
// of straight lines are cut into pieces well below that, each piece starting at
// the point where the previous one ended, so the drawing is unchanged.
QByteArray splitLongPaths(const QByteArray& svg);

constexpr int kMaxPathPoints = 10000;
