// Window layout: the canvas fills the space between the y ruler and the data
// sheet, and every marker keeps its place on the picture over any resize.
#include "app/frmMainPic.h"

#include "platform/qt/PictureBox.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>

namespace {
// The layout arithmetic works on the outer window size the way the design was
// drawn: a frame 120 twips wider and 690 twips taller than the client area
// (borders, title bar and menu bar). Using fixed allowances keeps the design
// positions exact whatever frame the window manager draws.
constexpr float kFrameWidth = 120;
constexpr float kFrameHeight = 690;
} // namespace

// The data sheet's width follows the significant figures. The canvas takes up
// what the sheet gives or leaves, and is laid out like any resize so that the
// markers stay on their points of the picture: otherwise the picture would be
// re-stretched under markers the user has just placed.
void frmMainPic::applyDataSheetWidth(float width)
{
    dataSheetWidth_ = width;
    Form_Resize();
}

void frmMainPic::Form_Resize()
{
    if (isMinimized())
        return;
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

    repaintFromSnapshot();
    if (!loaded_) {
        placeMarkers();
        return;
    }

    const double sx = picGraph_->scaleWidth() / state_.lastScaleWidth;
    const double sy = picGraph_->scaleHeight() / state_.lastScaleHeight;
    markers_.linX1 = static_cast<float>(markers_.linX1 * sx);
    markers_.linX2 = static_cast<float>(markers_.linX2 * sx);
    markers_.linY1 = static_cast<float>(markers_.linY1 * sy);
    markers_.linY2 = static_cast<float>(markers_.linY2 * sy);
    storeReferencePositions(1);
    storeReferencePositions(2);

    TwipsRect& start = markers_.lblStartPointC;
    start.left = static_cast<float>(start.left * sx);
    start.top = static_cast<float>(start.top * sy);
    markers_.lblStartPointTxt.left = start.left + 180;
    markers_.lblStartPointTxt.top = start.top + 120;
    centreScanFrame();

    markers_.lblEndLine.left = static_cast<float>(markers_.lblEndLine.left * sx);
    markers_.lblEndLineTxt.left = markers_.lblEndLine.left + 120;
    markers_.lblEndLineTxt.top = static_cast<float>(markers_.lblEndLineTxt.top * sy);

    markers_.lblXY1.left = markers_.linX1 - 60;
    markers_.lblXY1.top = markers_.linY1 - 60;
    markers_.lblX1Index.left = markers_.lblXY1.left - 45;
    markers_.lblY1Index.top = markers_.lblXY1.top - 60;
    markers_.lblXY2.left = markers_.linX2 - 60;
    markers_.lblXY2.top = markers_.linY2 - 60;
    markers_.lblX2Index.left = markers_.lblXY2.left - 45;
    markers_.lblY2Index.top = markers_.lblXY2.top - 60;

    state_.lastScaleWidth = static_cast<float>(picGraph_->scaleWidth());
    state_.lastScaleHeight = roundHalfEven32(picGraph_->scaleHeight());
    placeMarkers();
}
