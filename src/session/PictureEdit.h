#pragma once
// An edit of the canvas as an operation: what was done, where, on a canvas of
// which size. The tools draw through the same steps when the user makes the
// edit, and a reopened project or a batch run draws it again from here, so the
// pixels come out the same.
#include "raster/Binarize.h"

#include <QPointF>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Canvas;
class PixelBuffer;

struct PictureEdit {
    enum class Kind { Binarise, AutoErase, Pen, LineAcross, LineDown, Eraser };
    Kind kind = Kind::Pen;
    // The canvas the edit was made on, in pixels.
    QSize canvas;
    // Binarise: the settings it used.
    BinarizeSettings binarise;
    // Eraser: the size step, 0..2.
    int eraserStep = 0;
    // The strokes: the press, then (the pen only) every point it was dragged to, in twips.
    std::vector<QPointF> points;

    bool isStroke() const { return kind != Kind::Binarise && kind != Kind::AutoErase; }
};

// The name a kind has in a project file, and back.
QString pictureEditKindName(PictureEdit::Kind kind);
std::optional<PictureEdit::Kind> pictureEditKindFromName(const QString& name);

// A stroke's drawing, step by step as the mouse makes it: the press, then a
// drag to `to` (only the pen draws on a drag).
void drawStrokePress(Canvas& canvas, const PictureEdit& stroke, QPointF at);
void drawStrokeDrag(Canvas& canvas, const PictureEdit& stroke, QPointF to);

// The whole edit on `canvas` (of the edit's size): a stroke is drawn from its
// points, a whole-picture edit runs over the canvas's pixels. `progress`, as
// BinarizePixels calls it.
void drawPictureEdit(Canvas& canvas, PixelBuffer& scratch, const PictureEdit& edit,
                     const std::function<void(int x)>& progress = {});
