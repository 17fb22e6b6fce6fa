#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

// A picture as the program holds it: opaque pixels, one copy. A raster picture
// keeps its own pixels at its own resolution; a metafile keeps a fine rendering
// (made by the decoding helper) together with its bytes, so that it can be
// rendered again when the canvas outgrows that rendering.
class Picture {
public:
    Picture() = default;
    // Anything not opaque RGB32 is converted, transparent parts shown on white.
    static Picture fromImage(QImage image);
    static Picture fromRendering(QImage rendering, QByteArray metafile, QSize naturalSize);

    bool isNull() const { return image_.isNull(); }
    bool isVector() const { return !metafile_.isEmpty(); }
    // The metafile's own size, or the pixels' size.
    QSize naturalSize() const { return isVector() ? naturalSize_ : image_.size(); }
    const QImage& image() const { return image_; }
    const QByteArray& metafile() const { return metafile_; }


private:
    QImage image_;
    QByteArray metafile_;
    QSize naturalSize_;
};
