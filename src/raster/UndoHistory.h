#pragma once
// One level of undo and one of redo for edits to the canvas, kept as whole
// copies of the picture. The main window shows what it is told to paint and
// takes the menu states from here.
#include "raster/Binarize.h"

#include <QImage>
#include <QtGlobal>

#include <optional>

// What a snapshot's pixels came from, beyond the pixels themselves.
struct SnapshotOrigin {
    // The opened picture stretched onto the canvas, never edited: it can be
    // stretched afresh from the picture whatever size the canvas takes.
    bool asLoaded = false;
    // The settings of the binarisation this canvas went through, kept by
    // every later edit: the curve's ink is then what they keep.
    std::optional<BinarizeSettings> binarisedWith;
    // Pixels of a picture opened before the current one.
    bool earlierPicture = false;
};

class UndoHistory {
public:
    // A newly opened picture becomes the current snapshot; the menu states and
    // the snapshot before the last edit stay as they were.
    void pictureLoaded(const QImage& canvas);

    // Called after a completed edit with the canvas as the edit left it. A
    // binarisation names its settings; any other edit keeps those of the
    // picture it was made on.
    void saveSnapshot(const QImage& canvas, std::optional<BinarizeSettings> binarisedWith = std::nullopt);

    // The picture to paint back, stretched over the canvas. While the command is
    // disabled nothing changes and a null image is returned.
    QImage undo();
    QImage redo();

    // The picture the canvas shows (for repainting after a re-layout).
    const QImage& current() const { return undoSlot_ != 0 ? picUndo1_ : picUndo0_; }
    const SnapshotOrigin& currentOrigin() const { return undoSlot_ != 0 ? origin1_ : origin0_; }
    // The as-loaded picture the canvas shows, stretched again to a new size.
    void replaceCurrentAsLoaded(const QImage& canvas);

    // As of the latest edit, or as loaded when there was no edit since.
    const QImage& picUndo0() const { return picUndo0_; }
    // As before the latest edit; null until the first edit.
    const QImage& picUndo1() const { return picUndo1_; }
    // 0 while picUndo0 is shown, -1 after an undo.
    qint16 undoSlot() const { return undoSlot_; }
    bool undoEnabled() const { return undoEnabled_; }
    bool redoEnabled() const { return redoEnabled_; }

private:
    QImage picUndo0_;
    QImage picUndo1_;
    SnapshotOrigin origin0_;
    SnapshotOrigin origin1_;
    qint16 undoSlot_ = 0;
    bool undoEnabled_ = false;
    bool redoEnabled_ = false;
};
