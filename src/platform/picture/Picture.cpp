#include "platform/picture/Picture.h"


#include <QPainter>

#include <utility>

Picture Picture::fromImage(QImage image)
{
    Picture p;
    if (image.isNull())
        return p;
    if (image.format() == QImage::Format_RGB32) {
        p.image_ = std::move(image);
        return p;
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    if (flat.isNull())
        return p;  // out of memory: no picture
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    p.image_ = std::move(flat);
    return p;
}

Picture Picture::fromRendering(QImage rendering, QByteArray metafile, QSize naturalSize)
{
    Picture p = fromImage(std::move(rendering));
    if (!p.isNull()) {
        p.metafile_ = std::move(metafile);
        p.naturalSize_ = naturalSize;
    }
    return p;
}

