#pragma once
// The parts of a plain path inside a rectangle of the picture, for drawing it
// a piece at a time. The path's points are given twice: in the drawing's own
// coordinates, which the pieces keep so that the pen is transformed as the
// SVG renderer transforms it, and on the picture (`device`), where the cuts
// are made. An affine mapping keeps the fraction of an edge at which a cut
// lies, so one cut serves both.
#include "PlainPath.h"

#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <vector>

// The lines and curves of the path inside `r`, joined where they meet inside
// it, in the drawing's coordinates. Qt's rasteriser costs about the product of
// a path's edges and its length, so they come a few hundred pixels of line at
// a time: parted where a line is cut anyway, and inside a line only in a
// scribble far longer than any curve (a join there becomes two ends).
std::vector<QPainterPath> cutStroke(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& r);

// The path with its curves as lines: flat to a twentieth of a pixel where they
// may show in `visible`, a single chord for each piece wholly outside it.
struct FlatPath {
    std::vector<QPointF> device, user;
    std::vector<PlainPath::Subpath> subpaths;
};
void flattenPath(const PlainPath& path, const std::vector<QPointF>& device, const QRectF& visible, FlatPath& out);
QPainterPath userPath(const FlatPath& path);

// The area of the path inside `r` (every subpath closed, as filling closes it),
// in the drawing's coordinates; the winding of every point inside is kept.
QPainterPath cutFill(const FlatPath& path, const QRectF& r);

// The area inside `r` of an outline already on the picture, on the picture.
QPainterPath cutOutline(const QList<QPolygonF>& outline, const QRectF& r);
