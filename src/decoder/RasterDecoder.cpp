#include "RasterDecoder.h"

#include "JpegScans.h"
#include "RasterCompleteness.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstdlib>
#include <memory>

using decodeproto::Status;

namespace {

// Room for the largest picture we accept at four bytes a pixel; Qt's default
// (256 MB) would refuse pictures well below our limit.
constexpr int kAllocationLimitMb = 1600;

// Only these decoders are trusted: several other Qt plugins (TGA, WBMP) accept
// almost any bytes as a picture and would turn a damaged file into noise.
bool isAcceptedFormat(const QByteArray& format)
{
    static const QByteArray accepted[] = {"bmp", "jpeg", "gif", "png", "tiff", "webp"};
    for (const QByteArray& name : accepted) {
        if (format == name)
            return true;
    }
    return false;
}

bool canAllocate(qint64 bytes)
{
    std::unique_ptr<char, decltype(&std::free)> probe(static_cast<char*>(std::malloc(size_t(bytes))), &std::free);
    return probe != nullptr;
}

} // namespace

bool isDamageReport(const char* category, const QString& message)
{
    // libpng only warns when the compressed pixel data fails its own check,
    // and the picture then opens with wrong pixels.
    if (qstrcmp(category, "qt.gui.imageio") == 0)
        return message.contains(QLatin1String("incorrect data check"));
    if (qstrcmp(category, "qt.gui.imageio.jpeg") != 0)
        return false;
    // libjpeg's warnings about the entropy-coded data: the rest of the picture
    // would be filled with grey. Extraneous bytes between segments are harmless.
    return (message.contains(QLatin1String("Corrupt JPEG data")) && !message.contains(QLatin1String("extraneous bytes")))
        || message.contains(QLatin1String("Premature end"))
        || message.contains(QLatin1String("Inconsistent progression"));
}

DecodeOutcome decodeRaster(const QByteArray& file, PictureDestination destination)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kAllocationLimitMb);
    const QByteArray format = reader.format();
    if (!reader.canRead() || !isAcceptedFormat(format))
        return DecodeOutcome::refused(Status::Unsupported);

    // Refuse from the declared size, before the decoder allocates anything.
    // Qt gives a top-down bitmap a negative height.
    const QSize size = reader.size();
    const QSize declared(std::abs(size.width()), std::abs(size.height()));
    if (declared.isEmpty())
        return DecodeOutcome::refused(Status::UnreadableSize);
    const qint64 longer = std::max(declared.width(), declared.height());
    const qint64 shorter = std::min(declared.width(), declared.height());
    if (longer > decodeproto::kMaxSide)
        return DecodeOutcome::refused(Status::SideTooLong, declared);
    if (longer > shorter * decodeproto::kMaxAspect)
        return DecodeOutcome::refused(Status::TooNarrow, declared);
    const qint64 pixels = qint64(declared.width()) * declared.height();
    if (pixels > decodeproto::kMaxPixels)
        return DecodeOutcome::refused(Status::TooLarge, declared);
    // Qt refuses past its allocation limit before reading anything, and the
    // limit comes at fewer pixels when each takes more than four bytes (16
    // bits a channel): the picture is too large, not damaged. A reader that
    // cannot read the header gives no format, which Qt's table does not hold.
    const QImage::Format decoded = reader.imageFormat();
    const bool known = decoded > QImage::Format_Invalid && decoded < QImage::NImageFormats;
    const qint64 bytesPerPixel = std::max(4, known ? QImage::toPixelFormat(decoded).bitsPerPixel() / 8 : 4);
    if (pixels * bytesPerPixel > (qint64(kAllocationLimitMb) << 20))
        return DecodeOutcome::refused(Status::TooLarge, declared);

    if (format == "jpeg") {
        const qint64 scans = jpegScanCount(file);
        if (scans > decodeproto::kMaxJpegScans)
            return DecodeOutcome::tooMany(Status::TooManyScans, scans);
    }
    if ((format == "bmp" && !bmpPixelsComplete(file)) || (format == "gif" && !gifPixelsComplete(file)))
        return DecodeOutcome::refused(Status::Truncated);

    DecodeOutcome out;
    if (destination)
        out.image = destination(declared, reader.imageFormat());
    if (!reader.read(&out.image))
        out.image = QImage();
    if (out.image.isNull())
        return DecodeOutcome::refused(canAllocate(pixels * 4) ? Status::Damaged : Status::OutOfMemory);
    if (out.image.size() != declared)
        return DecodeOutcome::refused(Status::Damaged);
    return out;
}
