#pragma once
// The pen and the three erasers: a press (and, for the pen, a drag) draws on
// the canvas; the release hands the stroke to the session as one edit.
#include "app/tools/CanvasTool.h"
#include "session/PictureEdit.h"

#include <cstdint>
#include <optional>

class StrokeTool : public CanvasTool {
public:
    // `eraserStep` is the eraser's size step, kept by the window over tool changes.
    StrokeTool(PictureEdit::Kind kind, std::int16_t& eraserStep);

    int drawWidth() const override;
    QCursor cursor() const override;
    void press(ToolHost& host, double x, double y) override;
    void move(ToolHost& host, Qt::MouseButtons buttons, double x, double y) override;
    void release(ToolHost& host, Qt::MouseButton button, double x, double y) override;

private:
    PictureEdit::Kind kind_;
    std::int16_t& eraserStep_;
    std::optional<PictureEdit> stroke_;
};
