#pragma once
#include <QByteArray>

// Qt's BMP and GIF decoders fill whatever the file lacks with a default colour
// and report success, so a file cut short would be digitised as if it were
// whole. These walk the pixel data itself: true when every pixel the header
// declares is really there. Bytes after the picture do not matter.
bool bmpPixelsComplete(const QByteArray& file);
bool gifPixelsComplete(const QByteArray& file);
