// Window layout: the canvas fills the space between the y ruler and the data
// sheet, and every marker keeps its place on the picture over any resize.
#include "app/frmMainPic.h"
#include "raster/VectorRendering.h"

#include "app/PlaceWidget.h"
#include "capture/DataSheet.h"
#include "raster/ui/PictureBox.h"

#include <QFutureWatcher>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QProgressBar>
#include <QStatusBar>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace {
// The layout arithmetic works on the outer window size the way the design was
// drawn: a frame 120 twips wider and 690 twips taller than the client area
// (borders, title bar and menu bar). Using fixed allowances keeps the design
// positions exact whatever frame the window manager draws.
constexpr float kFrameWidth = 120;
constexpr float kFrameHeight = 690;

// How long the size has to stay put before the canvas is stretched exactly: a
// drag of the window edge sends a resize every few milliseconds.
constexpr int kSettleMs = 120;

bool smallerThan(QSize have, QSize canvas) { return have.width() < canvas.width() || have.height() < canvas.height(); }
} // namespace

namespace {
// The widest text a value of `figures` significant figures takes: negative, and
// with a two-digit exponent or as many leading zeros as the number form allows.
double widestValue(const QFontMetricsF& metrics, int figures)
{
    double widest = 0;
    for (int e = -99; e <= 99; ++e)
        widest = std::max(widest, metrics.horizontalAdvance(RoundToFigures(-8.8888888 * std::pow(10.0, e), figures).text()));
    return widest;
}
} // namespace

// The data sheet's width follows the significant figures, but never so narrow
// that the widest x and y of that many figures are cut with the scroll bar
// shown: the tab stop is one space past the widest x. The canvas takes up what
// the sheet gives or leaves.
void frmMainPic::fitDataSheet(int figures, float designWidth)
{
    const QFontMetricsF metrics(rtbDataSheet_->font());
    const double value = widestValue(metrics, figures);
    const double tab = value + metrics.horizontalAdvance(' ');
    rtbDataSheet_->setTabStopDistance(tab);
    const double chrome = 2 * rtbDataSheet_->document()->documentMargin() + 2 * rtbDataSheet_->frameWidth()
        + rtbDataSheet_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, rtbDataSheet_->verticalScrollBar());
    // One pixel more for the caret after the last character.
    const int pixels = static_cast<int>(std::ceil(tab + value + chrome)) + 1;
    dataSheetWidth_ = std::max(designWidth, static_cast<float>(pixels * kTwipsPerPixelX));
}

// Laid out like any resize so that the markers stay on their points of the
// picture: otherwise the picture would be re-stretched under markers the user
// has just placed.
void frmMainPic::applyDataSheetWidth(int figures)
{
    fitDataSheet(figures, static_cast<float>(dataSheetWidth(figures)));
    Form_Resize();
}

// Re-making the canvas at every step of a drag would stall the window with a
// large picture; it shows the canvas as it was, scaled, until the size has
// settled. The markers are placed exactly at every step.
void frmMainPic::Form_Resize()
{
    if (isMinimized())
        return;
    hideLoupe();
    const bool live = isVisible();
    if (live)
        picGraph_->showScaledUntilSettled();
    const float clientW = static_cast<float>(client_->width() * kTwipsPerPixelX);
    const float clientH = static_cast<float>(client_->height() * kTwipsPerPixelY);
    const float W = clientW + kFrameWidth;
    const float H = clientH + kFrameHeight;

    tbToolbar_->setGeometry(0, 0, client_->width(), 540 / kTwipsPerPixelY);
    placeWidget(statusBar1_, {0, clientH - 270, clientW, 270});

    const float sheetWidth = dataSheetWidth_;
    const float sheetLeft = W - sheetWidth - 105;
    placeWidget(picYAxis_, {0, 540, 315, H - 1770});
    placeWidget(rtbDataSheet_, {sheetLeft, 520, sheetWidth, H - 1470});
    placeWidget(progressBar1_, {5060, clientH - 225, 1950, 190});
    progressBar1_->raise();
    const float graphWidth = sheetLeft - 330;
    placeWidget(picGraph_, {330, 540, graphWidth, H - 1770});
    picGraph_->resizeImage(picGraph_->size());
    placeWidget(picXAxis_, {330, H - 1215, graphWidth, 255});

    // Armed last: placing the markers looks at the canvas's size, not its pixels.
    const auto settleLater = [this, live] {
        if (!live)
            return;
        if (!settleTimer_) {
            settleTimer_ = new QTimer(this);
            settleTimer_->setSingleShot(true);
            settleTimer_->setInterval(kSettleMs);
            connect(settleTimer_, &QTimer::timeout, this, [this] { settleCanvas(false); });
        }
        // Anything that reads or draws on the canvas before then gets it exact.
        picGraph_->setBeforeAccess([this] { settleCanvas(true); });
        settleTimer_->start();
    };
    if (live)
        picGraph_->setBeforeAccess(nullptr);  // placed below on the new size
    else
        repaintFromSnapshot();
    if (!loaded_) {
        placeMarkers();
        settleLater();
        return;
    }

    // The picture is stretched edge to edge and a position names the centre of
    // a canvas pixel, so a marker stays on its spot of the picture when the
    // scaling is about pixel centres: scaled twips alone would move every
    // reference by up to half a canvas pixel of the picture.
    const double sx = picGraph_->scaleWidth() / state_.lastScaleWidth;
    const double sy = picGraph_->scaleHeight() / state_.lastScaleHeight;
    const auto scaledX = [sx](double t) { return static_cast<float>((t + kTwipsPerPixelX / 2.0) * sx - kTwipsPerPixelX / 2.0); };
    const auto scaledY = [sy](double t) { return static_cast<float>((t + kTwipsPerPixelY / 2.0) * sy - kTwipsPerPixelY / 2.0); };
    session_.calibration.refX1Pos = scaledX(session_.calibration.refX1Pos);
    session_.calibration.refX2Pos = scaledX(session_.calibration.refX2Pos);
    session_.calibration.refY1Pos = scaledY(session_.calibration.refY1Pos);
    session_.calibration.refY2Pos = scaledY(session_.calibration.refY2Pos);

    TwipsRect& start = session_.markers.lblStartPointC;
    start.left = scaledX(start.left + start.width / 2) - start.width / 2;
    start.top = scaledY(start.top + start.height / 2) - start.height / 2;
    session_.markers.lblStartPointTxt.left = start.left + 180;
    session_.markers.lblStartPointTxt.top = start.top + 120;
    centreScanFrame();

    // The tracer stops at the bar's left edge less half its width.
    const float endHalf = session_.markers.lblEndLine.width / 2;
    session_.markers.lblEndLine.left = scaledX(session_.markers.lblEndLine.left - endHalf) + endHalf;
    session_.markers.lblEndLineTxt.left = session_.markers.lblEndLine.left + 120;
    session_.markers.lblEndLineTxt.top = static_cast<float>(session_.markers.lblEndLineTxt.top * sy);

    session_.markers.lblXY1.left = session_.calibration.refX1Pos - 60;
    session_.markers.lblXY1.top = session_.calibration.refY1Pos - 60;
    session_.markers.lblX1Index.left = session_.markers.lblXY1.left - 45;
    session_.markers.lblY1Index.top = session_.markers.lblXY1.top - 60;
    session_.markers.lblXY2.left = session_.calibration.refX2Pos - 60;
    session_.markers.lblXY2.top = session_.calibration.refY2Pos - 60;
    session_.markers.lblX2Index.left = session_.markers.lblXY2.left - 45;
    session_.markers.lblY2Index.top = session_.markers.lblXY2.top - 60;

    state_.lastScaleWidth = static_cast<float>(picGraph_->scaleWidth());
    state_.lastScaleHeight = roundHalfEven32(picGraph_->scaleHeight());
    placeMarkers();
    settleLater();
}

// The exact canvas. When the size has settled a metafile that the canvas has
// outgrown is rendered again in the helper while the canvas shows a stretch
// of the rendering there is; a command that reads the canvas first waits for
// that rendering, as it would have waited for the helper anyway.
void frmMainPic::settleCanvas(bool forReader)
{
    if (settleTimer_)
        settleTimer_->stop();
    picGraph_->setBeforeAccess(nullptr);
    const QSize canvas(roundHalfEven32(picGraph_->scaleWidth() / kTwipsPerPixelX),
                       roundHalfEven32(picGraph_->scaleHeight() / kTwipsPerPixelY));
    // The size the last background rendering was asked for.
    const QSize asked = vectorRendering_ ? vectorRendering_->property("asked").toSize() : QSize();
    const bool rendering = vectorRendering_ && vectorRendering_->isRunning();
    if (forReader) {
        if (rendering) {
            vectorRendering_->waitForFinished();
            adoptVectorRendering();
        }
        // From here on the picture commands' own check: a size the helper has
        // answered is not asked for again, any other is, at once.
        if (asked.isValid())
            lastVectorRequest_ = asked;
    } else if (session_.history().currentOrigin().asLoaded && session_.picture().isVector()
               && smallerThan(session_.picture().image().size(), canvas)) {
        const QSize wanted = vectorRenderingFor(canvas);
        if (!rendering && wanted != asked) {
            if (!vectorRendering_) {
                vectorRendering_ = new QFutureWatcher<PictureLoadResult>(this);
                connect(vectorRendering_, &QFutureWatcherBase::finished, this, [this] {
                    if (vectorRendering_->future().resultCount() == 0)
                        return;  // already taken by a command that waited for it
                    adoptVectorRendering();
                    if (!picGraph_->showsScaled())
                        settleCanvas(false);  // nothing touched the canvas since: show it sharp
                });
            }
            vectorRendering_->setProperty("asked", wanted);
            PictureLoader* loader = &platform_.pictures;
            vectorRendering_->setFuture(QtConcurrent::run(
                [loader, picture = session_.picture(), wanted] { return loader->renderVectorQuietly(picture, wanted); }));
        }
        // The repaint below stretches the rendering there is.
        lastVectorRequest_ = wanted;
    }
    repaintFromSnapshot();
    picGraph_->endScaled();
    if (vectorRendering_ && vectorRendering_->isRunning())
        picGraph_->setBeforeAccess([this] { settleCanvas(true); });
}

void frmMainPic::adoptVectorRendering()
{
    if (!vectorRendering_ || vectorRendering_->future().resultCount() == 0)
        return;
    const PictureLoadResult finer = vectorRendering_->result();
    vectorRendering_->setFuture(QFuture<PictureLoadResult>());
    // Another picture may have been opened meanwhile.
    const Picture& picture = session_.picture();
    const QSize have = picture.image().size();
    if (finer.ok() && finer.picture.metafile().constData() == picture.metafile().constData()
        && finer.picture.image().width() > have.width() && finer.picture.image().height() > have.height())
        session_.replaceRendering(finer.picture);
}
