#pragma once
// A magnifier over the loaded picture at its own resolution. While something is
// being placed it shows the picture's own pixels around the exact position,
// each as a square block of screen pixels (never smoothed: what is seen is what
// is measured), with a cross-hair on the position.
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QWidget>

class Loupe : public QWidget {
    Q_OBJECT
public:
    // Screen pixels per picture pixel, and the side of the square. The side is
    // odd so that one screen pixel sits exactly on the position.
    static constexpr int kZoom = 7;
    static constexpr int kSide = 141;

    explicit Loupe(QWidget* parent = nullptr);

    // The loaded picture (a metafile's fine rendering); shared, not copied.
    void setPicture(const QImage& picture);
    // In picture coordinates: pixel q spans [q, q + 1).
    void setPosition(QPointF picturePosition);
    QPointF position() const { return position_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage view() const;

    QImage picture_;
    QPointF position_;
};

// Where to put a loupe of `size` (its top-left corner) so that it shows beside
// `spot` without covering it and stays inside `bounds`, all in one coordinate
// system. Above and to the right of the spot, `gap` pixels away, when there is
// room; otherwise on the other side. When neither side fits across (or down),
// it stays beside the spot the other way and slides along that edge.
QPoint placeLoupe(QSize size, QPoint spot, QRect bounds, int gap = 24);
