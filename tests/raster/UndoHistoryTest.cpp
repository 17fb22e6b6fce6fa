#include "raster/UndoHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One-pixel pictures named by a letter in their colour; '-' is no picture.
QImage picture(char name) { QImage image(1, 1, QImage::Format_RGB32); image.fill(qRgb(name, 0, 0)); return image; }
char nameOf(const QImage& image) { return image.isNull() ? '-' : char(qRed(image.pixel(0, 0))); }

// A step: "L P" loads P, "E A" is an edit leaving A, "U P" / "R B" undo / redo
// handing back P / B to paint; then the picture shown, the menu states, the slot.
struct Step { const char* op; char shown; bool undo, redo; int slot; };

TEST(UndoHistory, followsTheEditUndoRedoTable)
{
    const std::pair<const char*, std::vector<Step>> scripts[] = {
        // B was made on the picture before A, which is where Undo goes back to.
        {"editUndoEditUndo", {{"L P", 'P', 0, 0, 0}, {"E A", 'A', 1, 0, 0}, {"U P", 'P', 0, 1, -1},
                              {"E B", 'B', 1, 0, 0}, {"U P", 'P', 0, 1, -1}, {"R B", 'B', 1, 0, 0}}},
        {"twoEditsOneUndo", {{"L P", 'P', 0, 0, 0}, {"E A", 'A', 1, 0, 0}, {"E B", 'B', 1, 0, 0},
                             {"U A", 'A', 0, 1, -1}, {"U -", 'A', 0, 1, -1}}},
        // Opening keeps the menu states: Undo then goes back to the previous
        // picture as it was before its last edit; after an Undo, Redo repaints
        // the opened picture.
        {"loadAfterEdit", {{"L P", 'P', 0, 0, 0}, {"E A", 'A', 1, 0, 0}, {"L Q", 'Q', 1, 0, 0},
                           {"U P", 'P', 0, 1, -1}, {"E B", 'B', 1, 0, 0}, {"U P", 'P', 0, 1, -1}}},
        {"loadAfterUndo", {{"L P", 'P', 0, 0, 0}, {"E A", 'A', 1, 0, 0}, {"U P", 'P', 0, 1, -1},
                           {"L Q", 'Q', 0, 1, 0}, {"R Q", 'Q', 1, 0, 0}}},
        {"nothingBeforeFirstEdit", {{"L P", 'P', 0, 0, 0}, {"U -", 'P', 0, 0, 0}, {"R -", 'P', 0, 0, 0}}},
    };
    for (const auto& [name, steps] : scripts) {
        UndoHistory h;
        for (const Step& s : steps) {
            SCOPED_TRACE(testing::Message() << name << ": " << s.op);
            const char arg = s.op[2];
            switch (s.op[0]) {
            case 'L': h.pictureLoaded(picture(arg)); break;
            case 'E': h.saveSnapshot(picture(arg)); break;
            case 'U': EXPECT_EQ(nameOf(h.undo()), arg); break;
            case 'R': EXPECT_EQ(nameOf(h.redo()), arg); break;
            }
            EXPECT_EQ(nameOf(h.current()), s.shown);
            EXPECT_EQ(h.undoEnabled(), s.undo);
            EXPECT_EQ(h.redoEnabled(), s.redo);
            EXPECT_EQ(h.undoSlot(), s.slot);
        }
    }
}

TEST(UndoHistory, snapshotsDoNotFollowLaterDrawingOnTheCanvas)
{
    UndoHistory h;
    QImage canvas = picture('P');
    uchar* pixels = canvas.bits(); // a drawing routine holding on to the canvas memory
    h.pictureLoaded(canvas);
    pixels[2] = 'X';
    canvas.setPixel(0, 0, qRgb('A', 0, 0));
    pixels = canvas.bits();
    h.saveSnapshot(canvas);
    pixels[2] = 'Y';
    EXPECT_EQ(nameOf(h.picUndo1()), 'P');
    EXPECT_EQ(nameOf(h.picUndo0()), 'A');
}

} // namespace
