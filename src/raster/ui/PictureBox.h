#pragma once
// The widget that shows a canvas. The canvas (its pixels and drawing) belongs
// to the session; this shows it, reports the mouse in twips, and stands in a
// scaled copy while the window is being resized.
#include "raster/Canvas.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Shows `canvas` from now on; until then the box shows a canvas of its own.
    void attach(Canvas& canvas);
    Canvas& canvas() { return *canvas_; }

    double scaleWidth() const { return canvas_->scaleWidth(); }
    double scaleHeight() const { return canvas_->scaleHeight(); }
    QImage& image() { return canvas_->image(); }
    const QImage& image() const { return canvas_->image(); }

    // While the window is being resized, re-making the image at every step
    // would stall it: the display shows the image as it was, scaled, and the
    // image is made exact later. The canvas's `beforeAccess` runs (once)
    // before anything reads the image or draws into it, so no pixel is ever
    // taken from the scaled stand-in; settle() runs it now.
    void showScaledUntilSettled();
    void endScaled();
    bool showsScaled() const { return !scaled_.isNull(); }
    void setBeforeAccess(std::function<void()> beforeAccess) { canvas_->setBeforeAccess(std::move(beforeAccess)); }
    bool settlesBeforeAccess() const { return canvas_->settlesBeforeAccess(); }
    void settle() const { canvas_->settle(); }
    void refresh() { update(); }
    // Makes the canvas `size` pixels, keeping what was drawn in the top-left
    // corner. Runs on every resize; callers use it while still hidden.
    void resizeImage(QSize size) { canvas_->resize(size, scaled_.isNull()); }

    // The canvas's drawing, for the window's own marks.
    void setDrawWidth(int pixels) { canvas_->setDrawWidth(pixels); }
    int drawWidth() const { return canvas_->drawWidth(); }
    void setForeColor(QColor c) { canvas_->setForeColor(c); }
    void setFillColor(QColor c) { canvas_->setFillColor(c); }
    void setFillSolid(bool solid) { canvas_->setFillSolid(solid); }
    void cls() { canvas_->cls(); }
    void pset(double x, double y, QColor color) { canvas_->pset(x, y, color); }
    void lineTo(double x, double y, QColor color) { canvas_->lineTo(x, y, color); }
    void line(double x1, double y1, double x2, double y2, QColor color) { canvas_->line(x1, y1, x2, y2, color); }
    void box(double x1, double y1, double x2, double y2, QColor outline) { canvas_->box(x1, y1, x2, y2, outline); }
    void circle(double cx, double cy, double radius, QColor color) { canvas_->circle(cx, cy, radius, color); }
    void paintPictureFull(const Picture& picture) { canvas_->paintPictureFull(picture); }
    void paintPictureFull(const QImage& image) { canvas_->paintPictureFull(image); }

signals:
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y);
    void mouseMoved(Qt::MouseButtons buttons, double x, double y);
    void mouseReleased(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    Canvas own_;
    Canvas* canvas_ = &own_;
    QImage scaled_;
};
