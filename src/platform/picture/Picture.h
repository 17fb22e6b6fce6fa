#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

// A picture as the program holds it: either raster pixels (opaque, flattened on
// white) or a vector drawing kept as SVG so that it stays sharp at any size.
class Picture {
public:
    Picture() = default;
    static Picture fromImage(const QImage& image);
    static Picture fromSvg(const QByteArray& svg);

    bool isNull() const { return image_.isNull() && svg_.isEmpty(); }
    bool isVector() const { return !svg_.isEmpty(); }
    QSize naturalSize() const;

    // The picture stretched to exactly `size` pixels, aspect ratio not kept.
    QImage stretched(QSize size) const;

    const QImage& image() const { return image_; }
    const QByteArray& svg() const { return svg_; }

private:
    QImage image_;
    QByteArray svg_;
    QSize svgSize_;
};
