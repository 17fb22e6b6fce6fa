#include "platform/picture/Picture.h"

#include "raster/Stretch.h"

#include <QPainter>
#include <QSvgRenderer>

Picture Picture::fromImage(const QImage& image)
{
    Picture p;
    if (image.isNull())
        return p;
    // Transparent parts show the white canvas beneath, so flatten on white once.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(0, 0, image);
    painter.end();
    p.image_ = flat;
    return p;
}

Picture Picture::fromSvg(const QByteArray& svg)
{
    Picture p;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return p;
    p.svg_ = svg;
    p.svgSize_ = renderer.defaultSize();
    return p;
}

QSize Picture::naturalSize() const
{
    return isVector() ? svgSize_ : image_.size();
}

QImage Picture::stretched(QSize size) const
{
    if (size.isEmpty())
        return QImage();
    if (isVector()) {
        QImage out(size, QImage::Format_RGB32);
        out.fill(Qt::white);
        QSvgRenderer renderer(svg_);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        QPainter painter(&out);
        renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
        return out;
    }
    return stretchImage(image_, size);
}
