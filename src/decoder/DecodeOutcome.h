#pragma once
#include "DecodeProtocol.h"

#include <QImage>
#include <QSize>

// What one decode produced: pixels in whatever format the decoder chose, or the
// reason for refusing the file.
struct DecodeOutcome {
    decodeproto::Status status = decodeproto::Status::Ok;
    QImage image;
    QSize natural;   // a metafile's own size; empty for raster pictures
    QSize declared;  // the size a refused header declared, when that is the reason
    qint64 count = 0;  // what a refusing count limit found

    static DecodeOutcome refused(decodeproto::Status why, QSize declared = QSize())
    {
        DecodeOutcome out;
        out.status = why;
        out.declared = declared;
        return out;
    }
    static DecodeOutcome tooMany(decodeproto::Status why, qint64 count)
    {
        DecodeOutcome out = refused(why);
        out.count = count;
        return out;
    }
};
