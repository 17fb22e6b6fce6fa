#pragma once
#include "DecodeOutcome.h"

#include <QByteArray>

// Decodes a bitmap, JPEG, GIF, PNG, TIFF or WebP picture, the format decided by
// content. Refuses pictures larger than decodeproto::kMaxPixels from their
// header, and pictures whose pixel data is not all there.
// `destination`, when given, may hand out the picture to decode into (for
// example memory shared with the program); a null picture means "allocate".
using PictureDestination = QImage (*)(QSize size, QImage::Format format);
DecodeOutcome decodeRaster(const QByteArray& file, PictureDestination destination = nullptr);

// Whether a message a Qt image decoder printed means the pixels are damaged.
// Such a message ends the decode at once: the rest would be guesswork.
bool isDamageReport(const char* category, const QString& message);
