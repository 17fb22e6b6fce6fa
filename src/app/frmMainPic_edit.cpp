// Picture edits as whole commands: undo and redo, binarisation, automatic erasure.
#include "app/frmMainPic.h"

#include "platform/qt/PictureBox.h"
#include "raster/AutoErase.h"
#include "raster/ui/frmPicColorSet.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

void frmMainPic::updateUndoMenu()
{
    mnuEditUndo_->setEnabled(undo_.undoEnabled() || !picks_.empty());
    mnuEditRedo_->setEnabled(undo_.redoEnabled());
}

void frmMainPic::SaveUndoSnapshot()
{
    undo_.saveSnapshot(picGraph_->image());
    forgetPicks();
}

void frmMainPic::mnuEditUndo_Click()
{
    if (undoPick())
        return;
    if (!undo_.undoEnabled())
        return;
    paintRestoredPicture(undo_.undo());
}

void frmMainPic::mnuEditRedo_Click()
{
    if (!undo_.redoEnabled())
        return;
    paintRestoredPicture(undo_.redo());
}

// Undo and redo repaint the whole canvas, trace marks and all. The picture they
// restore is the clean picture from then on: a later tool change must not bring
// back the one that was just undone.
void frmMainPic::paintRestoredPicture(const QImage& snapshot)
{
    paintSnapshot(snapshot);
    picOriginal_ = picGraph_->image();
    state_.traceMarksShown = false;
    forgetPicks();
}

void frmMainPic::repaintFromSnapshot()
{
    picGraph_->cls();
    paintSnapshot(undo_.current());
}

// A picture never edited since it was opened is stretched afresh from the
// loaded picture, so a larger canvas shows it sharp rather than an enlarged
// copy of a smaller canvas; that stretch then stands for it in the history.
void frmMainPic::paintSnapshot(const QImage& snapshot)
{
    if (!undo_.currentOrigin().asLoaded || loadedPicture_.isNull()) {
        picGraph_->paintPictureFull(snapshot);
        return;
    }
    renderVectorAtLeast(picGraph_->image().size());
    picGraph_->paintPictureFull(loadedPicture_);
    undo_.replaceCurrentAsLoaded(picGraph_->image());
    picOriginal_ = picGraph_->image();
}

void frmMainPic::mnuToolDiValue_Click()
{
    RestoreCleanPicture();
    if (!picColorSet_)
        picColorSet_ = new frmPicColorSet(binarizeSettings_, platform_.colors, this);
    picColorSet_->preparePreview(picGraph_->image());
    picColorSet_->exec();
    if (!binarizeSettings_.binarizeAccepted)
        return;

    setStatus("二値化しています");
    statusPanel1_->repaint();
    const int w = roundHalfEven32(picGraph_->scaleWidth() / kTwipsPerPixelX);
    const int h = roundHalfEven32(picGraph_->scaleHeight() / kTwipsPerPixelY);
    pixels_.redim(w, h);
    ReadPixels(picGraph_->image(), pixels_);
    progressBar1_->setMaximum(static_cast<int>(picGraph_->scaleWidth() / kTwipsPerPixelX));
    BinarizePixels(pixels_, binarizeSettings_, [this](int x) {
        // The loop does not yield, so the bar is painted by hand as it moves.
        progressBar1_->setValue(x);
        progressBar1_->repaint();
    });
    WritePixels(picGraph_->image(), pixels_);
    picGraph_->refresh();
    undo_.saveSnapshot(picGraph_->image(), binarizeSettings_);
    forgetPicks();
    state_.traceMarksShown = false;
    setStatus(QString());
    progressBar1_->setValue(0);
}

void frmMainPic::mnuToolAutoErase_Click()
{
    RestoreCleanPicture();
    setStatus("オートイレース中です");
    setCalibrationMarkersVisible(false);
    // Let the status text and the hidden markers show while the command works.
    statusPanel1_->repaint();
    picGraph_->repaint();

    const int w = roundHalfEven32(picGraph_->scaleWidth() / kTwipsPerPixelX);
    const int h = roundHalfEven32(picGraph_->scaleHeight() / kTwipsPerPixelY);
    pixels_.redim(w, h);
    ReadPixels(picGraph_->image(), pixels_);
    AutoErasePixels(pixels_);
    WritePixels(picGraph_->image(), pixels_);
    picGraph_->refresh();
    SaveUndoSnapshot();
    state_.traceMarksShown = false;
    setCalibrationMarkersVisible(true);
    setStatus(QString());
}
