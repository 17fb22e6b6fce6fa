#include "app/tools/StrokeTool.h"

#include "app/Artwork.h"
#include "app/tools/ToolHost.h"
#include "session/Digitisation.h"

StrokeTool::StrokeTool(PictureEdit::Kind kind, std::int16_t& eraserStep)
    : kind_(kind)
    , eraserStep_(eraserStep)
{
}

int StrokeTool::drawWidth() const { return kind_ == PictureEdit::Kind::Eraser ? 2 : 1; }

QCursor StrokeTool::cursor() const
{
    switch (kind_) {
    case PictureEdit::Kind::Pen: return pointerCursor(1);
    case PictureEdit::Kind::LineAcross: return pointerCursor(2);
    case PictureEdit::Kind::LineDown: return pointerCursor(3);
    default: return pointerCursor(eraserStep_ % 3 + 4);
    }
}

void StrokeTool::press(ToolHost& host, double x, double y)
{
    if (kind_ == PictureEdit::Kind::Pen)
        host.confinePointer();
    PictureEdit stroke;
    stroke.kind = kind_;
    stroke.eraserStep = eraserStep_ % 3;
    stroke.points.emplace_back(x, y);
    drawStrokePress(host.session().canvas(), stroke, {x, y});
    stroke_ = std::move(stroke);
}

void StrokeTool::move(ToolHost& host, Qt::MouseButtons buttons, double x, double y)
{
    host.hideLoupe();
    if (!stroke_ || kind_ != PictureEdit::Kind::Pen || buttons != Qt::LeftButton)
        return;
    stroke_->points.emplace_back(x, y);
    drawStrokeDrag(host.session().canvas(), *stroke_, {x, y});
}

void StrokeTool::release(ToolHost& host, Qt::MouseButton button, double, double)
{
    if (button == Qt::LeftButton && stroke_) {
        host.session().recordStroke(*stroke_);
        stroke_.reset();
        host.editRecorded();
    }
    if (button == Qt::RightButton && kind_ == PictureEdit::Kind::Eraser) {
        // Only the value modulo 3 matters, so the counter never overflows.
        eraserStep_ = static_cast<std::int16_t>((eraserStep_ + 1) % 3);
        host.setCanvasCursor(cursor());
    }
}
