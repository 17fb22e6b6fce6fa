#pragma once
// The element nearly every converted plot is made of: a path of straight
// lines (or curves) with a solid stroke, a flat fill, or both. Read here, it is drawn
// exactly as Qt's SVG renderer would draw it (same path, same pen), only
// without the renderer's cost for every element.
#include <QColor>
#include <QPainterPath>
#include <QPointF>

#include <string_view>
#include <vector>

struct PlainPath {
    struct Subpath {
        int first = 0;
        int count = 0;
        bool closed = false;
    };
    std::vector<QPointF> points;
    std::vector<bool> control;      // for each point: a curve's control point, the two before its end
    std::vector<Subpath> subpaths;  // only those of two points or more: a lone point draws nothing

    bool stroked = false;
    QColor stroke;
    double width = 1;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::SvgMiterJoin;
    bool filled = false;
    QColor fill;

    // What the SVG renderer would build from the path data.
    QPainterPath painterPath() const;
    // The pen the SVG renderer would stroke with.
    QPen pen() const;
};

constexpr double kSvgMiterLimit = 4;  // the SVG default the renderer starts from

// Reads a path element's attributes. False unless the element is a plain path:
// absolute moves, lines and cubic curves only, a #RRGGBB stroke and fill (or none), width,
// caps and joins, a clipping reference (ignored, as the renderer ignores it), and no
// other attribute.
bool readPlainPath(std::string_view attributes, PlainPath& path);
