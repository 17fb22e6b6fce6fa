#pragma once
// One digitisation: the picture and its edits, the references and what they
// stand for, the markers, the settings and the sheet. Everything the program
// does to them is one of its commands; the window shows it and sends it
// commands, a batch run uses it without a window, and a project file is it,
// written down.
#include "calibration/AxisCalibration.h"
#include "platform/picture/Picture.h"
#include "raster/Binarize.h"
#include "raster/Canvas.h"
#include "raster/CanvasPictureMapping.h"
#include "raster/PixelBuffer.h"
#include "raster/UndoHistory.h"
#include "session/MarkerGeometry.h"
#include "session/PictureEdit.h"
#include "trace/TraceRun.h"
#include "trace/TraceSettings.h"

#include <QString>

#include <vector>

// Where a trace starts and ends, in canvas twips, as the markers give them.
struct TraceSpan {
    int startX = 0;
    int startY = 0;
    int endX = 0;
};

// The span the markers give: the start marker's centre, the end line's left edge.
TraceSpan traceSpanOf(const MarkerGeometry& markers);

struct TraceResult {
    // False when there was no ink at the start: nothing was traced.
    bool started = false;
    TraceOutcome outcome;
    // The sheet lines of the points, one per point whose values could be computed.
    QString lines;
    // The values of the last of them, for the readout.
    CursorValue lastX;
    CursorValue lastY;
};

class Digitisation {
public:
    Digitisation();

    // The settings and positions the user sets, read and written directly.
    AxisCalibration calibration;  // its reference positions are the references, in canvas twips
    MarkerGeometry markers;
    TraceSettings traceSettings;
    BinarizeSettings binarizeSettings;

    // The picture, at its own resolution. The canvas shows it stretched,
    // edits and all.
    const Picture& picture() const { return picture_; }
    // A finer rendering of the same metafile, when the canvas outgrows the one there is.
    void replaceRendering(const Picture& finer) { picture_ = finer; }
    // The file it came from; empty for a pasted picture.
    const QString& picturePath() const { return picturePath_; }
    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

    // Opens `picture` on the canvas, at the canvas's size. The edits start
    // afresh; one undo still goes back to the last state of the picture before.
    void open(const Picture& picture, const QString& path);

    // Whole-picture edits: made on the canvas and recorded.
    void apply(const PictureEdit& edit, const std::function<void(int x)>& progress = {});
    // A stroke the user has drawn on the canvas already, step by step: recorded.
    void recordStroke(const PictureEdit& stroke);
    UndoHistory& history() { return undo_; }
    const UndoHistory& history() const { return undo_; }
    // The picture to paint back (null when there is nothing to undo or redo).
    QImage undo();
    QImage redo();
    // The edits behind what the canvas shows, in order, each on the canvas
    // size it was made on.
    const std::vector<PictureEdit>& edits() const { return undo_.undoSlot() != 0 ? edits1_ : edits0_; }
    // Whether the canvas shows (an edit of) the picture opened, rather than
    // one opened before it, brought back by an undo.
    bool showsOpenedPicture() const { return !picture_.isNull() && !undo_.currentOrigin().earlierPicture; }
    // Positions on the picture for canvas positions; on the canvas's own
    // pixels while the canvas shows another picture.
    CanvasPictureMapping pictureMapping() const;

    // Paints the picture again over the whole canvas as the history's current
    // state, at the canvas's present size.
    void repaint();

    // Draws `edits` again over the freshly opened picture, re-stretching the
    // canvas wherever an edit was made on another size; ends on `finalSize`.
    void replay(const std::vector<PictureEdit>& edits, QSize finalSize);

    // Traces the curve from `span` over the canvas as it is, then measures each
    // point on the picture where the canvas still shows it.
    TraceResult trace(const TraceSpan& span);

    // The data sheet's text; the window's sheet is its editor.
    QString sheet;

private:
    Picture picture_;
    QString picturePath_;
    Canvas canvas_;
    UndoHistory undo_;
    std::vector<PictureEdit> edits0_;
    std::vector<PictureEdit> edits1_;
    PixelBuffer pixels_;
};

// The trace's check that its points can be converted: empty when they can,
// otherwise why not.
QString traceConversionProblem(const AxisCalibration& calibration);
