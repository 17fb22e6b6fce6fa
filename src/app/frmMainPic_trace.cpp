// One automatic trace: from the start marker to the end line, a red circle and a
// data-sheet line for every recorded column.
#include "app/frmMainPic.h"
#include "app/VectorRendering.h"

#include "platform/qt/PictureBox.h"
#include "trace/RefineTracePoint.h"
#include "trace/StartInk.h"
#include "trace/TraceRun.h"

#include <QAction>
#include <QLabel>


namespace {
const QColor kRed(255, 0, 0);
// A point the tracer had to guess: chosen between runs of ink, or bridged.
const QColor kOrange(255, 140, 0);
} // namespace

void frmMainPic::renderVectorAtLeast(QSize size)
{
    if (!loadedPicture_.isVector())
        return;
    const QSize have = loadedPicture_.image().size();
    if (have.width() >= size.width() && have.height() >= size.height())
        return;
    const QSize wanted = vectorRenderingFor(picGraph_->image().size());
    // A size the loader has already made smaller is not asked for again.
    if (wanted == lastVectorRequest_)
        return;
    lastVectorRequest_ = wanted;
    PictureLoadResult finer = platform_.pictures.renderVector(loadedPicture_, wanted);
    if (finer.ok() && finer.picture.image().width() > have.width() && finer.picture.image().height() > have.height())
        loadedPicture_ = finer.picture;
}

// A run whose points cannot be converted would fill the data sheet with stale
// values; the toolbar refuses it up front and says why.
bool frmMainPic::traceCanConvert()
{
    QString why;
    if (calibration_.refX1Pos == calibration_.refX2Pos)
        why = "X1とX2の基準線が同じ位置にあります。基準線を離してください。";
    else if (calibration_.refY1Pos == calibration_.refY2Pos)
        why = "Y1とY2の基準線が同じ位置にあります。基準線を離してください。";
    else if (!calibration_.xLinear && (calibration_.x1Value <= 0 || calibration_.x2Value <= 0))
        why = "X軸が対数ですが、基準値に0以下の値があります。";
    else if (!calibration_.yLinear && (calibration_.y1Value <= 0 || calibration_.y2Value <= 0))
        why = "Y軸が対数ですが、基準値に0以下の値があります。";
    if (why.isEmpty())
        return true;
    platform_.messages.error(why, "エラー");
    return false;
}

// What the run did, for the status bar: how many points, how many of them
// guessed, and whether it stopped short because the curve was lost.
QString frmMainPic::traceSummary(bool started, const TraceOutcome& outcome)
{
    if (!started)
        return QString();
    const qsizetype guessed = qsizetype(outcome.unsureCount());
    QString text = QString("%1 点をトレースしました").arg(outcome.points.size());
    if (guessed > 0)
        text += QString("（うち %1 点は推定）").arg(guessed);
    if (outcome.lost)
        text = "曲線を見失ったため途中で終了しました：" + text;
    return text;
}

void frmMainPic::DoAutoTrase()
{
    hideLoupe();
    setTraceMarkersVisible(true);
    setStatus("トレース中");
    if (state_.traceMarksShown)
        picGraph_->paintPictureFull(picOriginal_);
    else
        picOriginal_ = picGraph_->image();

    const TwipsRect& start = markers_.lblStartPointC;
    traceStartX_ = roundHalfEven32(start.left + start.width / 2);
    traceStartY_ = roundHalfEven32(start.top + start.height / 2);
    traceEndX_ = roundHalfEven32(markers_.lblEndLine.left - markers_.lblEndLine.width / 2);

    setCalibrationMarkersVisible(false);
    picGraph_->setForeColor(kRed);

    const float rangeX = static_cast<float>(traceSettings_.range * kTwipsPerPixelX);
    const float rangeY = static_cast<float>(traceSettings_.range * kTwipsPerPixelY);
    markers_.shpRectangle = {traceStartX_ - rangeX / 2, traceStartY_ - rangeY / 2, rangeX, rangeY};
    placeMarkers();

    platform_.system.processEventsOnce();
    picGraph_->repaint();
    platform_.system.sleep(1000);

    const int w = roundHalfEven32(picGraph_->scaleWidth() / kTwipsPerPixelX);
    const int h = roundHalfEven32(picGraph_->scaleHeight() / kTwipsPerPixelY);
    pixels_.redim(w, h);
    ReadPixels(picGraph_->image(), pixels_);

    // A curve in a colour the dark rule does not take is followed by its
    // colour, on a copy of the canvas; nothing under the start marker at all
    // is refused rather than traced along whatever lies near.
    const double height = picGraph_->scaleHeight() / kTwipsPerPixelY;
    const StartInk startInk = FindStartInk(pixels_, roundHalfEven32(traceStartX_ / kTwipsPerPixelX),
                                           roundHalfEven32(traceStartY_ / kTwipsPerPixelY), traceSettings_.range,
                                           binarizeSettings_.tolerancePercent);
    PixelBuffer colourMask;
    const PixelBuffer* walked = &pixels_;
    if (startInk.kind == StartInk::Kind::Colour) {
        colourMask = ColourMask(pixels_, startInk.colour);
        walked = &colourMask;
    }
    TraceOutcome outcome;
    if (startInk.kind != StartInk::Kind::None)
        outcome = FollowCurve(*walked, traceSettings_, traceStartX_, traceStartY_, traceEndX_, height);
    std::vector<TracePoint>& points = outcome.points;
    // The walk found the curve on the canvas; the loaded picture says where
    // exactly, as long as the canvas (with every edit) still shows it there.
    if (!points.empty() && canvasShowsLoadedPicture()) {
        renderVectorAtLeast(vectorRenderingFor(picGraph_->image().size()));
        const std::optional<BinarizeSettings>& binarised = undo_.currentOrigin().binarisedWith;
        const CurveInk ink = startInk.kind == StartInk::Kind::Colour ? CurveInk::nearColour(startInk.colour)
                             : binarised                             ? CurveInk::nearColour(*binarised)
                                                                     : CurveInk::dark();
        RefineTracePoints({loadedPicture_.image(), walked, pictureMapping(), ink, traceSettings_.range}, points);
    }
    for (const TracePoint& p : points) {
        picGraph_->circle(p.xt, p.yt, 60, p.unsure ? kOrange : kRed);
        if (calibration_.coordinatesSet) {
            // A point whose value cannot be computed (an overflow far out on a
            // log axis) is left out rather than written with the previous one.
            const auto vx = AxisValueFromX(calibration_, p.xt);
            const auto vy = AxisValueFromY(calibration_, p.yt);
            if (!vx || !vy)
                continue;
            state_.cursorValueX = RoundToFigures(*vx, calibration_.effectiveFigure);
            state_.cursorValueY = RoundToFigures(*vy, calibration_.effectiveFigure);
            AppendDataLine();
            showCursorValues();
        }
    }
    if (!points.empty()) {
        const TracePoint& last = points.back();
        // On the pixel the last circle is drawn on.
        markers_.shpRectangle.left = roundHalfEven32(last.xt / kTwipsPerPixelX) * kTwipsPerPixelX - rangeX / 2;
        markers_.shpRectangle.top = roundHalfEven32(last.yt / kTwipsPerPixelY) * kTwipsPerPixelY - rangeY / 2;
        placeMarkers();
    }
    picGraph_->repaint();

    platform_.system.sleep(1000);
    selectToolButton(ToolMode::XY);
    state_.toolMode = ToolMode::XY;
    setCalibrationMarkersVisible(true);
    centreScanFrame();
    placeMarkers();
    state_.traceMarksShown = true;
    setStatus(traceSummary(startInk.kind != StartInk::Kind::None, outcome));
    picGraph_->setForeColor(Qt::black);
    if (startInk.kind == StartInk::Kind::None)
        platform_.messages.error("開始点の近くに曲線が見つかりません。開始点を曲線の上に置いてください。", "エラー");
}
