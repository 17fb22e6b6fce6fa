#pragma once
// A picture display with a persistent image: everything drawn stays in its
// image, which is what the pixel buffer reads and the undo snapshots copy.
// Drawing coordinates are twips of the display (15 per pixel).
#include "platform/picture/Picture.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Inner size in twips.
    double scaleWidth() const { return double(image_.width()) * 15.0; }
    double scaleHeight() const { return double(image_.height()) * 15.0; }

    // The persistent image; after changing it directly call refresh().
    QImage& image()
    {
        settle();
        return image_;
    }
    const QImage& image() const
    {
        settle();
        return image_;
    }

    // While the window is being resized, re-making the image at every step
    // would stall it: the display shows the image as it was, scaled, and the
    // image is made exact later. `beforeAccess` runs (once) before anything
    // reads the image or draws into it, so no pixel is ever taken from the
    // scaled stand-in; settle() runs it now.
    void showScaledUntilSettled();
    void endScaled();
    bool showsScaled() const { return !scaled_.isNull(); }
    void setBeforeAccess(std::function<void()> beforeAccess) { beforeAccess_ = std::move(beforeAccess); }
    bool settlesBeforeAccess() const { return bool(beforeAccess_); }
    void settle() const;
    void refresh() { update(); }
    // Makes the persistent image `size` pixels, keeping what was drawn in the
    // top-left corner. Runs on every resize; callers use it while still hidden.
    void resizeImage(QSize size);

    // Drawing state.
    void setDrawWidth(int pixels) { drawWidth_ = pixels; }
    int drawWidth() const { return drawWidth_; }
    void setForeColor(QColor c) { foreColor_ = c; }
    QColor foreColor() const { return foreColor_; }
    void setFillColor(QColor c) { fillColor_ = c; }
    QColor fillColor() const { return fillColor_; }
    void setFillSolid(bool solid) { fillSolid_ = solid; }
    bool fillSolid() const { return fillSolid_; }
    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }

    // Drawing operations, positions in twips.
    void cls();
    void pset(double x, double y, QColor color);
    void pset(double x, double y) { pset(x, y, foreColor_); }
    void lineTo(double x, double y, QColor color);
    void line(double x1, double y1, double x2, double y2, QColor color);
    void box(double x1, double y1, double x2, double y2, QColor outline);
    void circle(double cx, double cy, double radius, QColor color);
    // Paints `picture` stretched into the rectangle (x, y, w, h), in twips.
    void paintPicture(const Picture& picture, double x, double y, double w, double h);
    void paintPicture(const QImage& image, double x, double y, double w, double h);
    // Paints a picture over the whole display.
    void paintPictureFull(const Picture& picture) { paintPicture(picture, 0, 0, scaleWidth(), scaleHeight()); }
    void paintPictureFull(const QImage& image) { paintPicture(image, 0, 0, scaleWidth(), scaleHeight()); }

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
    void strokeLine(int px1, int py1, int px2, int py2, QColor color);

    QImage image_;
    QImage scaled_;
    mutable std::function<void()> beforeAccess_;
    int drawWidth_ = 1;
    QColor foreColor_ = Qt::black;
    QColor fillColor_ = Qt::white;
    bool fillSolid_ = false;
    double currentX_ = 0;
    double currentY_ = 0;
};
