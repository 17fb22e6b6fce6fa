#include "session/Digitisation.h"

#include "capture/DataSheet.h"
#include "platform/UserMessages.h"
#include "trace/CurveInk.h"
#include "trace/RefineTracePoint.h"
#include "trace/StartInk.h"

TraceSpan traceSpanOf(const MarkerGeometry& markers)
{
    const TwipsRect& start = markers.lblStartPointC;
    return {roundHalfEven32(start.left + start.width / 2), roundHalfEven32(start.top + start.height / 2),
            roundHalfEven32(markers.lblEndLine.left - markers.lblEndLine.width / 2)};
}

Digitisation::Digitisation()
{
    // The references' first places: the two grab squares' centres.
    calibration.refX1Pos = 800;
    calibration.refY1Pos = 3600;
    calibration.refX2Pos = 5230;
    calibration.refY2Pos = 1440;
}

void Digitisation::open(const Picture& picture, const QString& path)
{
    picture_ = picture;
    picturePath_ = path;
    canvas_.cls();
    canvas_.paintPictureFull(picture_);
    undo_.pictureLoaded(canvas_.image());
    // The state before the last edit, if any, is still the earlier picture's.
    edits0_.clear();
}

void Digitisation::apply(const PictureEdit& edit, const std::function<void(int x)>& progress)
{
    drawPictureEdit(canvas_, pixels_, edit, progress);
    recordStroke(edit);
}

void Digitisation::recordStroke(const PictureEdit& made)
{
    PictureEdit edit = made;
    if (edit.canvas.isEmpty())
        edit.canvas = canvas_.image().size();
    const bool onUndone = undo_.undoSlot() != 0;
    undo_.saveSnapshot(canvas_.image(), edit.kind == PictureEdit::Kind::Binarise
                                            ? std::optional<BinarizeSettings>(edit.binarise)
                                            : std::nullopt);
    // The history keeps two states; their edits follow them.
    if (onUndone)
        edits0_ = edits1_;
    else
        edits1_ = edits0_;
    edits0_.push_back(std::move(edit));
}

QImage Digitisation::undo() { return undo_.undo(); }

QImage Digitisation::redo() { return undo_.redo(); }

CanvasPictureMapping Digitisation::pictureMapping() const
{
    const QSize size = canvas_.image().size();
    return CanvasPictureMapping(size, showsOpenedPicture() ? picture_.image().size() : size);
}

// A picture never edited since it was opened is stretched afresh from the
// picture, so a larger canvas shows it sharp rather than an enlarged copy of
// a smaller canvas; that stretch then stands for it in the history.
void Digitisation::repaint()
{
    canvas_.cls();
    if (!undo_.currentOrigin().asLoaded || picture_.isNull()) {
        canvas_.paintPictureFull(undo_.current());
        return;
    }
    canvas_.paintPictureFull(picture_);
    undo_.replaceCurrentAsLoaded(canvas_.image());
}

void Digitisation::replay(const std::vector<PictureEdit>& edits, QSize finalSize)
{
    const auto sizeTo = [this](QSize size) {
        if (size.isEmpty() || canvas_.image().size() == size)
            return;
        canvas_.resize(size, false);
        repaint();
    };
    for (const PictureEdit& edit : edits) {
        sizeTo(edit.canvas);
        apply(edit);
    }
    sizeTo(finalSize);
}

QString traceConversionProblem(const AxisCalibration& c)
{
    if (c.refX1Pos == c.refX2Pos)
        return msg::sameX();
    if (c.refY1Pos == c.refY2Pos)
        return msg::sameY();
    if (!c.xLinear && (c.x1Value <= 0 || c.x2Value <= 0))
        return msg::logXNotPositive();
    if (!c.yLinear && (c.y1Value <= 0 || c.y2Value <= 0))
        return msg::logYNotPositive();
    return {};
}

TraceResult Digitisation::trace(const TraceSpan& span)
{
    TraceResult result;
    const QImage& shown = canvas_.image();
    pixels_.redim(shown.width(), shown.height());
    ReadPixels(shown, pixels_);

    // A curve in a colour the dark rule does not take is followed by its
    // colour, on a copy of the canvas; nothing under the start marker at all
    // is refused rather than traced along whatever lies near.
    const double height = canvas_.scaleHeight() / kTwipsPerPixelY;
    const StartInk startInk = FindStartInk(pixels_, roundHalfEven32(span.startX / kTwipsPerPixelX),
                                           roundHalfEven32(span.startY / kTwipsPerPixelY), traceSettings.range,
                                           binarizeSettings.tolerancePercent);
    if (startInk.kind == StartInk::Kind::None)
        return result;
    result.started = true;
    PixelBuffer colourMask;
    const PixelBuffer* walked = &pixels_;
    if (startInk.kind == StartInk::Kind::Colour) {
        colourMask = ColourMask(pixels_, startInk.colour);
        walked = &colourMask;
    }
    result.outcome = FollowCurve(*walked, traceSettings, span.startX, span.startY, span.endX, height);
    std::vector<TracePoint>& points = result.outcome.points;
    // The walk found the curve on the canvas; the picture says where exactly,
    // as long as the canvas (with every edit) still shows it there.
    if (!points.empty() && showsOpenedPicture()) {
        const std::optional<BinarizeSettings>& binarised = undo_.currentOrigin().binarisedWith;
        const CurveInk ink = startInk.kind == StartInk::Kind::Colour ? CurveInk::nearColour(startInk.colour)
                             : binarised                             ? CurveInk::nearColour(*binarised)
                                                                     : CurveInk::dark();
        RefineTracePoints({picture_.image(), walked, pictureMapping(), ink, traceSettings.range}, points);
    }
    if (!calibration.coordinatesSet)
        return result;
    for (const TracePoint& p : points) {
        // A point whose value cannot be computed (an overflow far out on a
        // log axis) is left out rather than written with the previous one.
        const auto vx = AxisValueFromX(calibration, p.xt);
        const auto vy = AxisValueFromY(calibration, p.yt);
        if (!vx || !vy)
            continue;
        result.lastX = RoundToFigures(*vx, calibration.effectiveFigure);
        result.lastY = RoundToFigures(*vy, calibration.effectiveFigure);
        result.lines += dataLine(result.lastX, result.lastY);
    }
    // The sheet keeps its line breaks as "\n"; saving writes them as CR LF.
    result.lines.replace("\r\n", "\n");
    return result;
}
