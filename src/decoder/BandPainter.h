#pragma once
// Draws plain paths onto a picture a horizontal band at a time, each band
// with a painter of its own. Qt's anti-aliasing rasteriser costs about the
// product of a path's edges and its length, so a path whose long edges cross
// the whole picture (a zigzag of a few hundred points, or lines out to the
// far ends of the coordinate range) took minutes in one piece. Small paths are
// drawn whole in the band or two they touch; larger ones are cut to each band
// first: their lines into short pieces, their areas (fills, and the outlines
// of wide pens) into tiles. A cut lies outside the pixels it could change.
#include "PlainPath.h"

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <memory>
#include <vector>

class BandPainter {
public:
    explicit BandPainter(QImage& image);
    ~BandPainter();
    BandPainter(const BandPainter&) = delete;
    BandPainter& operator=(const BandPainter&) = delete;

    // Draws `path` whose coordinates `toDevice` maps onto the picture's pixels,
    // filled first, then stroked.
    void draw(const PlainPath& path, const QTransform& toDevice);
    // Ends the painting, so that others may paint the picture.
    void finish();

    static constexpr int kBandHeight = 128;

private:
    QPainter& band(int index);
    // The band's painter, set to draw what `toDevice` maps onto the picture.
    QPainter& painter(int index, const QTransform& toDevice, const QPen& pen, const QBrush& brush);

    QImage& image_;
    std::vector<QImage> bands_;
    std::vector<std::unique_ptr<QPainter>> painters_;
    std::vector<QPointF> device_;  // scratch: the path's points on the picture
};
