#pragma once
#include <QByteArray>
#include <QString>

// Qt's BMP, GIF and JPEG decoders hand back a partly grey picture for a file
// that was cut short, and report success. A graph with a missing lower part
// would be digitised as if it were whole, so a cut file is refused instead.
// Looks only at the file's size, its header and its last bytes.
bool isRasterFileComplete(const QString& path, const QByteArray& format);
