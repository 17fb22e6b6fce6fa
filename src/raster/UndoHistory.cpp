#include "raster/UndoHistory.h"

void UndoHistory::pictureLoaded(const QImage& canvas)
{
    // The canvas goes on being drawn on; keep pixels of our own rather than
    // share storage that a raw pointer into the canvas could still change.
    // Opening a picture leaves the menu states and picUndo1 alone: Undo after an
    // open still goes back to the state before the last edit, and Redo after an
    // Undo and an open repaints the opened picture. What picUndo1 holds is then
    // of another picture, never to be stretched afresh from this one.
    picUndo0_ = canvas.copy();
    origin0_ = {true, std::nullopt, false};
    origin1_.asLoaded = false;
    origin1_.earlierPicture = true;
    undoSlot_ = 0;
}

void UndoHistory::saveSnapshot(const QImage& canvas, std::optional<BinarizeSettings> binarisedWith)
{
    const SnapshotOrigin origin{false, binarisedWith ? binarisedWith : currentOrigin().binarisedWith,
                                currentOrigin().earlierPicture};
    undoEnabled_ = true;
    redoEnabled_ = false;
    if (undoSlot_ == -1) {
        // The edit was made on the undone picture, which picUndo1 still holds:
        // that stays the state to go back to.
        picUndo0_ = canvas.copy();
        origin0_ = origin;
        undoSlot_ = 0;
        return;
    }
    picUndo1_ = picUndo0_;
    origin1_ = origin0_;
    picUndo0_ = canvas.copy();
    origin0_ = origin;
}

void UndoHistory::replaceCurrentAsLoaded(const QImage& canvas)
{
    if (!currentOrigin().asLoaded)
        return;
    (undoSlot_ != 0 ? picUndo1_ : picUndo0_) = canvas.copy();
}

QImage UndoHistory::undo()
{
    if (!undoEnabled_)
        return QImage();
    undoEnabled_ = false;
    redoEnabled_ = true;
    undoSlot_ = -1;
    return picUndo1_;
}

QImage UndoHistory::redo()
{
    if (!redoEnabled_)
        return QImage();
    undoEnabled_ = true;
    redoEnabled_ = false;
    undoSlot_ = 0;
    return picUndo0_;
}
