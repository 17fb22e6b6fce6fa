#pragma once
// One level of undo and one of redo for edits to the canvas, kept as whole
// copies of the picture. The main window shows what it is told to paint and
// takes the menu states from here.
#include <QImage>
#include <QtGlobal>

class UndoHistory {
public:
    // A newly opened picture becomes the current snapshot; the menu states and
    // the snapshot before the last edit stay as they were.
    void pictureLoaded(const QImage& canvas);

    // Called after a completed edit with the canvas as the edit left it.
    void saveSnapshot(const QImage& canvas);

    // The picture to paint back, stretched over the canvas. While the command is
    // disabled nothing changes and a null image is returned.
    QImage undo();
    QImage redo();

    // The picture the canvas shows (for repainting after a re-layout).
    const QImage& current() const { return undoSlot_ != 0 ? picUndo1_ : picUndo0_; }

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
    qint16 undoSlot_ = 0;
    bool undoEnabled_ = false;
    bool redoEnabled_ = false;
};
