#pragma once
// The canvas's pixels and the drawing operations the program uses on them,
// positions in twips (15 per pixel). Everything drawn stays in the image: the
// pixel buffer reads it, undo snapshots copy it, and a replayed edit draws on it
// exactly as the mouse did. The widget that shows it only displays it.
#include "platform/picture/Picture.h"

#include <QColor>
#include <QImage>

#include <functional>

class Canvas {
public:
    Canvas();

    // Inner size in twips.
    double scaleWidth() const { return double(image_.width()) * 15.0; }
    double scaleHeight() const { return double(image_.height()) * 15.0; }

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
    // Called (once) before anything reads the pixels or draws on them: the
    // window uses it to make a canvas left stale by a live resize exact first.
    void setBeforeAccess(std::function<void()> beforeAccess) { beforeAccess_ = std::move(beforeAccess); }
    bool settlesBeforeAccess() const { return bool(beforeAccess_); }
    void settle() const;
    // The pixels without settling, for a display that shows what there is.
    const QImage& pixelsAsTheyAre() const { return image_; }
    // Called after every drawing operation, for a display to repaint.
    void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    void changed() const
    {
        if (changed_)
            changed_();
    }

    // Makes the image `size` pixels, keeping what was drawn in the top-left
    // corner (or nothing, when `keep` is false).
    void resize(QSize size, bool keep = true);

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
    void paintPictureFull(const Picture& picture) { paintPicture(picture, 0, 0, scaleWidth(), scaleHeight()); }
    void paintPictureFull(const QImage& image) { paintPicture(image, 0, 0, scaleWidth(), scaleHeight()); }

private:
    void strokeLine(int px1, int py1, int px2, int py2, QColor color);

    QImage image_;
    mutable std::function<void()> beforeAccess_;
    std::function<void()> changed_;
    int drawWidth_ = 1;
    QColor foreColor_ = Qt::black;
    QColor fillColor_ = Qt::white;
    bool fillSolid_ = false;
    double currentX_ = 0;
    double currentY_ = 0;
};
