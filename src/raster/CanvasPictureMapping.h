#pragma once
// Where the canvas and the loaded picture meet. The canvas shows the picture
// stretched edge to edge, each axis on its own. Canvas positions are twips, and
// twip 15 * p is the centre of canvas pixel p: what a click on p reads, where a
// point found in row p is recorded, where a reference dragged onto p sits.
// Picture positions are picture coordinates: picture pixel q spans [q, q + 1)
// and its centre is q + 0.5.
//
// Everything that moves a position between the two goes through this type, so
// the two resolutions can never drift apart by half a pixel somewhere.
#include <QPointF>
#include <QSize>

#include <utility>

class CanvasPictureMapping {
public:
    // One axis: canvas pixels and picture pixels along it.
    class Axis {
    public:
        Axis(int canvasPixels, int picturePixels);

        int canvasPixels() const { return canvas_; }
        int picturePixels() const { return picture_; }

        double toPicture(double twips) const;
        double toTwips(double picture) const;
        // How far one picture pixel reaches on the canvas.
        double twipsPerPicturePixel() const;

        // One fine placement step from `twips` toward `direction` (+1 or -1):
        // to the next picture pixel centre, or, when the picture has fewer
        // pixels than the canvas, to the next quarter of a canvas pixel. A
        // position between those is taken to the next one, so steps land on
        // the picture's pixels whatever a mouse drag left.
        double fineStep(double twips, int direction) const;

        // The canvas pixel whose area holds the centre of picture pixel q:
        // the one that shows it when the canvas is enlarged, and one of those
        // it darkens when the canvas is shrunk.
        int canvasPixelOf(int picturePixel) const;
        // The picture pixels whose centres lie in canvas pixels first..last,
        // as an inclusive range; empty (first > second) when there are none.
        std::pair<int, int> picturePixelsIn(int firstCanvasPixel, int lastCanvasPixel) const;

    private:
        int canvas_;
        int picture_;
    };

    CanvasPictureMapping(QSize canvasPixels, QSize picturePixels);

    const Axis& x() const { return x_; }
    const Axis& y() const { return y_; }
    QSize canvasSize() const { return {x_.canvasPixels(), y_.canvasPixels()}; }
    QSize pictureSize() const { return {x_.picturePixels(), y_.picturePixels()}; }

    QPointF toPicture(QPointF twips) const { return {x_.toPicture(twips.x()), y_.toPicture(twips.y())}; }
    QPointF toTwips(QPointF picture) const { return {x_.toTwips(picture.x()), y_.toTwips(picture.y())}; }

private:
    Axis x_;
    Axis y_;
};
