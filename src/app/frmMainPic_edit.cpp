// Picture edits as whole commands: undo and redo, binarisation, automatic erasure.
#include "app/frmMainPic.h"

#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"
#include "raster/ui/frmPicColorSet.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

void frmMainPic::updateUndoMenu()
{
    mnuEditUndo_->setEnabled(session_.history().undoEnabled() || !picks_.empty());
    mnuEditRedo_->setEnabled(session_.history().redoEnabled());
}

void frmMainPic::mnuEditUndo_Click()
{
    if (undoPick())
        return;
    if (!session_.history().undoEnabled())
        return;
    session_.undo();
    paintRestoredPicture();
}

void frmMainPic::mnuEditRedo_Click()
{
    if (!session_.history().redoEnabled())
        return;
    session_.redo();
    paintRestoredPicture();
}

// Undo and redo repaint the whole canvas, trace marks and all. The picture they
// restore is the clean picture from then on: a later tool change must not bring
// back the one that was just undone.
void frmMainPic::paintRestoredPicture()
{
    repaintFromSnapshot();
    picOriginal_ = picGraph_->image();
    state_.traceMarksShown = false;
    forgetPicks();
}

// A picture never edited since it was opened is stretched afresh from the
// loaded picture, so a larger canvas shows it sharp.
void frmMainPic::repaintFromSnapshot()
{
    const bool asLoaded = session_.history().currentOrigin().asLoaded && !session_.picture().isNull();
    if (asLoaded)
        renderVectorAtLeast(picGraph_->image().size());
    session_.repaint();
    if (asLoaded)
        picOriginal_ = picGraph_->image();
}

// Whole-picture edits go to the session on the clean canvas, which takes them
// into its history.
void frmMainPic::applyEdit(const PictureEdit& edit, const std::function<void(int x)>& progress)
{
    picGraph_->settle();
    session_.apply(edit, progress);
    forgetPicks();
    state_.traceMarksShown = false;
}

void frmMainPic::mnuToolDiValue_Click()
{
    RestoreCleanPicture();
    if (!picColorSet_)
        picColorSet_ = new frmPicColorSet(session_.binarizeSettings, platform_.colors, this);
    picColorSet_->preparePreview(picGraph_->image());
    picColorSet_->exec();
    if (!session_.binarizeSettings.binarizeAccepted)
        return;

    setStatus(msg::binarising());
    statusPanel1_->repaint();
    progressBar1_->setMaximum(static_cast<int>(picGraph_->scaleWidth() / kTwipsPerPixelX));
    PictureEdit edit;
    edit.kind = PictureEdit::Kind::Binarise;
    edit.binarise = session_.binarizeSettings;
    applyEdit(edit, [this](int x) {
        // The loop does not yield, so the bar is painted by hand as it moves.
        progressBar1_->setValue(x);
        progressBar1_->repaint();
    });
    setStatus(QString());
    progressBar1_->setValue(0);
}

void frmMainPic::mnuToolAutoErase_Click()
{
    RestoreCleanPicture();
    setStatus(msg::autoErasing());
    setCalibrationMarkersVisible(false);
    // Let the status text and the hidden markers show while the command works.
    statusPanel1_->repaint();
    picGraph_->repaint();
    PictureEdit edit;
    edit.kind = PictureEdit::Kind::AutoErase;
    applyEdit(edit);
    setCalibrationMarkersVisible(true);
    setStatus(QString());
}
