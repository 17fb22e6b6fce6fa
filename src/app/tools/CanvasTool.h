#pragma once
// A tool of the canvas: what a press, a move and a release of the mouse do
// while it is selected. Positions are canvas twips.
#include <QCursor>
#include <Qt>

class ToolHost;

class CanvasTool {
public:
    virtual ~CanvasTool() = default;
    // The canvas's pen width while the tool is selected, and its pointer.
    virtual int drawWidth() const { return 2; }
    virtual QCursor cursor() const { return Qt::ArrowCursor; }
    // The left button went down.
    virtual void press(ToolHost&, double, double) {}
    virtual void move(ToolHost& host, Qt::MouseButtons buttons, double x, double y);
    virtual void release(ToolHost&, Qt::MouseButton, double, double) {}
};

// Setting the references: the canvas itself only reads out where the pointer is.
class ReferenceTool : public CanvasTool {};

// The sight: a click takes the point under it into the sheet, the loupe follows.
class SightTool : public CanvasTool {
public:
    QCursor cursor() const override;
    void press(ToolHost& host, double x, double y) override;
    void move(ToolHost& host, Qt::MouseButtons buttons, double x, double y) override;
};
