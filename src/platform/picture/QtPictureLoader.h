#pragma once
#include "platform/picture/PictureLoader.h"

#include <QString>

// Loads raster pictures with QImageReader and metafiles through the
// orvanta-decode helper process. The format is decided by content, never by
// the file name. Every failure comes back as a message naming the file.
class QtPictureLoader : public PictureLoader {
public:
    // Pictures declaring more pixels than this are refused before decoding.
    static constexpr qint64 kMaxPixels = 400'000'000;
    static constexpr int kDefaultHelperTimeoutMs = 10'000;

    // An empty helper path means the installed or built helper (HelperPath.h).
    explicit QtPictureLoader(QString helperPath = QString());

    PictureLoadResult load(const QString& path) override;

    void setHelperTimeout(int milliseconds) { helperTimeoutMs_ = milliseconds; }
    const QString& helperPath() const { return helperPath_; }

private:
    PictureLoadResult loadRaster(const QString& path) const;
    PictureLoadResult loadMetafile(const QString& path) const;

    QString helperPath_;
    int helperTimeoutMs_ = kDefaultHelperTimeoutMs;
};
