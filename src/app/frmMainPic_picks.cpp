// Points picked with the sight tool: a mark on the canvas for each, and undo of
// the last ones while nothing else has happened since.
#include "app/frmMainPic.h"

#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <cmath>

namespace {
const QColor kRed(255, 0, 0);
// Half the diagonal cross, in twips: a point on a grid line stays visible.
constexpr double kMarkArm = 45;
} // namespace

void frmMainPic::pickPoint(double x, double y)
{
    QTextDocument* sheet = rtbDataSheet_->document();
    const int start = sheet->characterCount() - 1;
    AppendDataLine();
    Pick pick;
    pick.line = QTextCursor(sheet);
    pick.line.setPosition(start);
    pick.line.setPosition(sheet->characterCount() - 1, QTextCursor::KeepAnchor);
    // Text typed right before or after the line is not taken into it.
    pick.line.setKeepPositionOnInsert(true);
    pick.text = rtbDataSheet_->toPlainText().mid(start);

    // The mark is drawn like the trace marks, over the clean canvas it is
    // removed with.
    if (!state_.traceMarksShown) {
        picOriginal_ = picGraph_->image();
        state_.traceMarksShown = true;
    }
    const int reach = static_cast<int>(std::ceil(kMarkArm / kTwipsPerPixelX)) + picGraph_->drawWidth() + 1;
    const QPoint at(static_cast<int>(x / kTwipsPerPixelX), static_cast<int>(y / kTwipsPerPixelY));
    pick.area = QRect(at - QPoint(reach, reach), at + QPoint(reach, reach)) & picGraph_->image().rect();
    pick.before = picGraph_->image().copy(pick.area);
    picGraph_->line(x - kMarkArm, y - kMarkArm, x + kMarkArm, y + kMarkArm, kRed);
    picGraph_->line(x - kMarkArm, y + kMarkArm, x + kMarkArm, y - kMarkArm, kRed);
    pick.after = picGraph_->image().copy(pick.area);
    picks_.push_back(std::move(pick));
    updateUndoMenu();
}

// The sheet is the user's to edit: a line is taken back only while it is still
// the sheet's end exactly as it was added, so nothing typed is ever removed.
bool frmMainPic::undoPick()
{
    if (picks_.empty())
        return false;
    Pick pick = std::move(picks_.back());
    picks_.pop_back();
    const QString sheet = rtbDataSheet_->toPlainText();
    const int start = pick.line.selectionStart();
    if (pick.line.selectionEnd() != sheet.size() || sheet.mid(start) != pick.text) {
        // The lines picked before it are no longer "the last action" either.
        forgetPicks();
        platform_.system.beep();
        setStatus(msg::pickLineChanged());
        return true;
    }
    pick.line.removeSelectedText();
    // The mark leaves the canvas where the canvas still shows it as drawn
    // (a re-layout repaints the canvas without marks).
    QImage& canvas = picGraph_->image();
    if (canvas.copy(pick.area) == pick.after) {
        QPainter painter(&canvas);
        painter.drawImage(pick.area.topLeft(), pick.before);
        painter.end();
        picGraph_->refresh();
    }
    updateUndoMenu();
    return true;
}

void frmMainPic::forgetPicks()
{
    picks_.clear();
    updateUndoMenu();
}
