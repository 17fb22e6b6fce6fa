#pragma once
#include "platform/picture/Picture.h"

#include <QString>

struct PictureLoadResult {
    Picture picture;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty() && !picture.isNull(); }
};

class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    virtual PictureLoadResult load(const QString& path) = 0;
};
