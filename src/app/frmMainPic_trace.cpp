// One automatic trace: from the start marker to the end line, a red circle and a
// data-sheet line for every recorded column.
#include "app/frmMainPic.h"
#include "raster/VectorRendering.h"

#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"

#include <QAction>
#include <QLabel>

namespace {
const QColor kRed(255, 0, 0);
// A point the tracer had to guess: chosen between runs of ink, or bridged.
const QColor kOrange(255, 140, 0);
} // namespace

void frmMainPic::renderVectorAtLeast(QSize size)
{
    const Picture& picture = session_.picture();
    if (!picture.isVector())
        return;
    const QSize have = picture.image().size();
    if (have.width() >= size.width() && have.height() >= size.height())
        return;
    const QSize wanted = vectorRenderingFor(picGraph_->image().size());
    // A size the loader has already made smaller is not asked for again.
    if (wanted == lastVectorRequest_)
        return;
    lastVectorRequest_ = wanted;
    PictureLoadResult finer = platform_.pictures.renderVector(picture, wanted);
    if (finer.ok() && finer.picture.image().width() > have.width() && finer.picture.image().height() > have.height())
        session_.replaceRendering(finer.picture);
}

// A run whose points cannot be converted would fill the data sheet with stale
// values; the toolbar refuses it up front and says why.
bool frmMainPic::traceCanConvert()
{
    const QString why = traceConversionProblem(session_.calibration);
    if (why.isEmpty())
        return true;
    platform_.messages.error(why, msg::errorTitle());
    return false;
}

// What the run did, for the status bar: how many points, how many of them
// guessed, and whether it stopped short because the curve was lost.
QString frmMainPic::traceSummary(bool started, const TraceOutcome& outcome)
{
    if (!started)
        return QString();
    const qsizetype guessed = qsizetype(outcome.unsureCount());
    QString text = msg::traced(qsizetype(outcome.points.size()));
    if (guessed > 0)
        text += msg::tracedGuessed(guessed);
    if (outcome.lost)
        text = msg::traceLost() + text;
    return text;
}

void frmMainPic::DoAutoTrase()
{
    hideLoupe();
    setTraceMarkersVisible(true);
    setStatus(msg::tracing());
    if (state_.traceMarksShown)
        picGraph_->paintPictureFull(picOriginal_);
    else
        picOriginal_ = picGraph_->image();

    const TraceSpan span = traceSpanOf(session_.markers);
    traceStartX_ = span.startX;
    traceStartY_ = span.startY;
    traceEndX_ = span.endX;

    setCalibrationMarkersVisible(false);
    picGraph_->setForeColor(kRed);

    const float rangeX = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelX);
    const float rangeY = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelY);
    session_.markers.shpRectangle = {traceStartX_ - rangeX / 2, traceStartY_ - rangeY / 2, rangeX, rangeY};
    placeMarkers();

    platform_.system.processEventsOnce();
    picGraph_->repaint();
    platform_.system.sleep(1000);

    // The walk is on the canvas; the picture, rendered at least as finely as
    // measuring wants it, says where exactly.
    if (session_.showsOpenedPicture())
        renderVectorAtLeast(vectorRenderingFor(picGraph_->image().size()));
    const TraceResult traced = session_.trace(span);
    const std::vector<TracePoint>& points = traced.outcome.points;
    for (const TracePoint& p : points)
        picGraph_->circle(p.xt, p.yt, 60, p.unsure ? kOrange : kRed);
    if (!traced.lines.isEmpty()) {
        state_.cursorValueX = traced.lastX;
        state_.cursorValueY = traced.lastY;
        appendToSheet(traced.lines);
        showCursorValues();
    }
    if (!points.empty()) {
        const TracePoint& last = points.back();
        // On the pixel the last circle is drawn on.
        session_.markers.shpRectangle.left = roundHalfEven32(last.xt / kTwipsPerPixelX) * kTwipsPerPixelX - rangeX / 2;
        session_.markers.shpRectangle.top = roundHalfEven32(last.yt / kTwipsPerPixelY) * kTwipsPerPixelY - rangeY / 2;
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
    setStatus(traceSummary(traced.started, traced.outcome));
    picGraph_->setForeColor(Qt::black);
    if (!traced.started)
        platform_.messages.error(msg::noInkAtStart(), msg::errorTitle());
}
