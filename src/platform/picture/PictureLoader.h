#pragma once
#include "platform/picture/Picture.h"

#include <QSize>
#include <QString>

struct PictureLoadResult {
    Picture picture;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty() && !picture.isNull(); }
};

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    // A metafile is rendered at `vectorSize` pixels (the loader may make it
    // smaller to stay within its limits); a raster picture keeps its own size.
    virtual PictureLoadResult load(const QString& path, QSize vectorSize) = 0;
    // Renders a vector picture from its kept bytes again, at another size.
    virtual PictureLoadResult renderVector(const Picture& vector, QSize size) = 0;
    // The same from any thread, showing no progress: for a rendering made
    // while the user goes on working.
    virtual PictureLoadResult renderVectorQuietly(const Picture& vector, QSize size) { return renderVector(vector, size); }
};
