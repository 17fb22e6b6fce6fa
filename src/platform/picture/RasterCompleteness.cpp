#include "platform/picture/RasterCompleteness.h"

#include <QFile>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qint64 kTailBytes = 256;

QByteArray trimmedTail(QFile& file)
{
    const qint64 size = file.size();
    if (!file.seek(qMax<qint64>(0, size - kTailBytes)))
        return {};
    QByteArray tail = file.read(kTailBytes);
    // Some writers pad the end of the file with zeros.
    while (!tail.isEmpty() && tail.back() == '\0')
        tail.chop(1);
    return tail;
}

// Uncompressed bitmaps must hold every row the header declares.
bool bmpComplete(QFile& file)
{
    const QByteArray head = file.read(34);
    if (head.size() < 26)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    const quint32 offBits = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bitCount = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && head.size() >= 34) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = std::llabs(qFromLittleEndian<qint32>(p + 22));
        bitCount = qFromLittleEndian<quint16>(p + 28);
        compression = qFromLittleEndian<quint32>(p + 30);
    } else {
        return true;  // an unusual header: leave it to the decoder
    }
    constexpr quint32 kRgb = 0;
    constexpr quint32 kBitFields = 3;
    if (compression != kRgb && compression != kBitFields)
        return true;  // run-length data has no fixed size
    if (width <= 0 || height <= 0 || bitCount == 0 || bitCount > 32)
        return false;
    const qint64 stride = (width * bitCount + 31) / 32 * 4;
    const qint64 room = file.size() - qint64(offBits);
    return room >= 0 && height <= room / stride;
}

} // namespace

bool isRasterFileComplete(const QString& path, const QByteArray& format)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (format == "bmp")
        return bmpComplete(file);
    if (format == "gif") {
        const QByteArray tail = trimmedTail(file);
        return !tail.isEmpty() && tail.back() == ';';  // the GIF trailer byte
    }
    if (format == "jpeg" || format == "jpg") {
        // The end-of-image marker closes the scan; an embedded thumbnail's own
        // marker sits near the start, never in the last bytes of a large file.
        return trimmedTail(file).contains(QByteArray("\xFF\xD9", 2));
    }
    return true;  // PNG, TIFF and WebP decoders report a cut file themselves
}
