#include "raster/UndoHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One-pixel pictures told apart by their colour.
QImage picture(QRgb color) { QImage image(1, 1, QImage::Format_RGB32); image.fill(color); return image; }
QRgb colorOf(const QImage& image) { return image.isNull() ? 0 : image.pixel(0, 0); }

const QRgb P = qRgb(1, 1, 1), A = qRgb(2, 2, 2), B = qRgb(3, 3, 3), Q = qRgb(4, 4, 4);

enum class Op { Load, Edit, Undo, Redo };

struct Step {
    Op op;
    QRgb canvas;  // picture loaded or left by the edit
    QRgb painted; // what Undo/Redo hands back to paint (0: nothing)
    QRgb shown;   // current() afterwards
    bool undo, redo;
    qint16 slot;
};

struct Script { const char* name; std::vector<Step> steps; };

class UndoHistoryScript : public testing::TestWithParam<Script> {};

TEST_P(UndoHistoryScript, followsTheEditUndoRedoTable)
{
    UndoHistory h;
    int i = 0;
    for (const Step& s : GetParam().steps) {
        SCOPED_TRACE(i++);
        switch (s.op) {
        case Op::Load: h.pictureLoaded(picture(s.canvas)); break;
        case Op::Edit: h.saveSnapshot(picture(s.canvas)); break;
        case Op::Undo: EXPECT_EQ(colorOf(h.undo()), s.painted); break;
        case Op::Redo: EXPECT_EQ(colorOf(h.redo()), s.painted); break;
        }
        EXPECT_EQ(colorOf(h.current()), s.shown);
        EXPECT_EQ(h.undoEnabled(), s.undo);
        EXPECT_EQ(h.redoEnabled(), s.redo);
        EXPECT_EQ(h.undoSlot(), s.slot);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, UndoHistoryScript,
    testing::Values(
        // B was made on the picture before A, which is where Undo goes back to.
        Script{"editUndoEditUndo",
               {{Op::Load, P, 0, P, false, false, 0},
                {Op::Edit, A, 0, A, true, false, 0},
                {Op::Undo, 0, P, P, false, true, -1},
                {Op::Edit, B, 0, B, true, false, 0},
                {Op::Undo, 0, P, P, false, true, -1},
                {Op::Redo, 0, B, B, true, false, 0}}},
        Script{"twoEditsOneUndo",
               {{Op::Load, P, 0, P, false, false, 0},
                {Op::Edit, A, 0, A, true, false, 0},
                {Op::Edit, B, 0, B, true, false, 0},
                {Op::Undo, 0, A, A, false, true, -1},
                {Op::Undo, 0, 0, A, false, true, -1}}},
        // Opening keeps the menu states: Undo then goes back to the previous
        // picture as it was before its last edit.
        Script{"loadAfterEdit",
               {{Op::Load, P, 0, P, false, false, 0},
                {Op::Edit, A, 0, A, true, false, 0},
                {Op::Load, Q, 0, Q, true, false, 0},
                {Op::Undo, 0, P, P, false, true, -1},
                {Op::Edit, B, 0, B, true, false, 0},
                {Op::Undo, 0, P, P, false, true, -1}}},
        // After an Undo and an open, Redo repaints the opened picture.
        Script{"loadAfterUndo",
               {{Op::Load, P, 0, P, false, false, 0},
                {Op::Edit, A, 0, A, true, false, 0},
                {Op::Undo, 0, P, P, false, true, -1},
                {Op::Load, Q, 0, Q, false, true, 0},
                {Op::Redo, 0, Q, Q, true, false, 0}}},
        Script{"nothingBeforeFirstEdit",
               {{Op::Load, P, 0, P, false, false, 0},
                {Op::Undo, 0, 0, P, false, false, 0},
                {Op::Redo, 0, 0, P, false, false, 0}}}),
    [](const testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

TEST(UndoHistory, snapshotsDoNotFollowLaterDrawingOnTheCanvas)
{
    UndoHistory h;
    QImage canvas = picture(P);
    uchar* pixels = canvas.bits(); // a drawing routine holding on to the canvas memory
    h.pictureLoaded(canvas);
    pixels[0] = 0x77;
    canvas.setPixel(0, 0, A);
    pixels = canvas.bits();
    h.saveSnapshot(canvas);
    pixels[0] = 0x55;
    EXPECT_EQ(colorOf(h.picUndo1()), P);
    EXPECT_EQ(colorOf(h.picUndo0()), A);
}

} // namespace
