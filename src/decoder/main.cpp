// orvanta-decode [--size WxH] [--pixels-fd N] INPUT|-
// Decodes a picture file (or metafile bytes on standard input) and writes the
// header DecodeProtocol.h describes to standard output, the pixels after it or
// into the memory file N the program handed over; metafiles are rendered at WxH. Every decoder here is a library that trusts its input,
// so they run in this process of their own, with capped memory and time, and
// the program only ever sees plain pixels or a reason for refusing the file.
#include "MetafileCheck.h"
#include "MetafileRenderer.h"
#include "RasterDecoder.h"

#include <QFile>
#include <QGuiApplication>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

using decodeproto::Header;
using decodeproto::Status;

#if defined(__SANITIZE_ADDRESS__)
// The address-space cap below cannot hold in this build; a failed allocation
// still has to reach the decoders as a failure, as it does under the cap.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1:max_allocation_size_mb=2048:hard_rss_limit_mb=3072";
}
#endif

namespace {

constexpr rlim_t kMemoryLimit = rlim_t(2) << 30;  // 2 GiB of address space
constexpr rlim_t kCpuSeconds = 30;
constexpr qint64 kMaxStdinBytes = qint64(128) << 20;  // metafiles of graphs are far smaller

void limitResources()
{
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizer build reserves terabytes of shadow memory up front and
    // would not start under this cap.
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{kCpuSeconds, kCpuSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    // A crash in a decoder is an expected outcome here, not worth a core file.
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
    // The pixels of the largest picture accepted, and not a byte more.
    const rlim_t pixels = rlim_t(decodeproto::kMaxPixels) * 4;
    const rlimit file{pixels, pixels};
    setrlimit(RLIMIT_FSIZE, &file);
}

int pixelsFd = STDOUT_FILENO;

bool writeAll(const void* data, qint64 size, int fd = pixelsFd)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size_t(std::min<qint64>(size, qint64(1) << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= n;
    }
    return true;
}

int refuse(Status why, QSize declared = QSize(), qint64 count = 0)
{
    Header header;
    header.status = why;
    header.count = uint32_t(std::clamp<qint64>(count, 0, UINT32_MAX));
    header.width = uint32_t(std::max(0, declared.width()));
    header.height = uint32_t(std::max(0, declared.height()));
    return writeAll(&header, sizeof header, STDOUT_FILENO) ? 0 : 1;
}

// A decoder that reports damage would go on to fill the rest with guesses, and
// on crafted files take minutes doing so: stop at its first word.
void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type != QtDebugMsg && context.category && isDamageReport(context.category, message)) {
        refuse(Status::Damaged);
        _exit(0);
    }
}

// Opaque rows of the picture, with transparent parts shown on white, written a
// band at a time so that no second copy of a large picture is ever made.
bool writePixels(const QImage& image)
{
    const int w = image.width();
    if (image.format() == QImage::Format_RGB32 && image.bytesPerLine() == qsizetype(w) * 4)
        return writeAll(image.constBits(), image.sizeInBytes());
    const int band = std::max(1, int((qint64(16) << 20) / (qint64(w) * 4)));
    const bool transparent = image.hasAlphaChannel();
    for (int top = 0; top < image.height(); top += band) {
        const QImage part = image.copy(0, top, w, std::min(band, image.height() - top));
        QImage rows = part.convertToFormat(transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (rows.isNull())
            return false;
        for (int y = 0; transparent && y < rows.height(); ++y) {
            auto* px = reinterpret_cast<QRgb*>(rows.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int a = qAlpha(px[x]);
                const auto over = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
                px[x] = qRgb(over(qRed(px[x])), over(qGreen(px[x])), over(qBlue(px[x])));
            }
        }
        if (!writeAll(rows.constBits(), rows.sizeInBytes()))
            return false;
    }
    return true;
}

// Opaque pixels decode straight into the program's memory file: no copy of
// the picture is made anywhere.
uchar* sharedPixels = nullptr;

QImage decodeIntoPixelFile(QSize size, QImage::Format format)
{
    const size_t bytes = size_t(size.width()) * size_t(size.height()) * 4;
    if (pixelsFd == STDOUT_FILENO || format != QImage::Format_RGB32 || ftruncate(pixelsFd, off_t(bytes)) != 0)
        return QImage();
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, pixelsFd, 0);
    if (data == MAP_FAILED) {
        ftruncate(pixelsFd, 0);
        return QImage();
    }
    sharedPixels = static_cast<uchar*>(data);
    return QImage(sharedPixels, size.width(), size.height(), qsizetype(size.width()) * 4, QImage::Format_RGB32);
}

bool parseSize(const char* text, QSize& size)
{
    int w = 0, h = 0;
    if (std::sscanf(text, "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0)
        return false;
    size = QSize(w, h);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    limitResources();
    QSize size;
    int arg = 1;
    while (arg + 2 < argc) {  // options, in pairs, before the input
        if (!(std::strcmp(argv[arg], "--size") == 0 && parseSize(argv[arg + 1], size))
            && !(std::strcmp(argv[arg], "--pixels-fd") == 0 && std::sscanf(argv[arg + 1], "%d", &pixelsFd) == 1))
            break;
        arg += 2;
    }
    if (arg != argc - 1) {
        std::fprintf(stderr, "usage: orvanta-decode [--size WxH] [--pixels-fd N] INPUT|-\n");
        return 2;
    }
    // Bigger pipe buffer: fewer round trips for a picture of hundreds of megabytes.
    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);

    QFile input;
    QByteArray bytes;
    const bool fromStdin = std::strcmp(argv[arg], "-") == 0;
    if (fromStdin ? !input.open(stdin, QIODevice::ReadOnly) : (input.setFileName(QFile::decodeName(argv[arg])), !input.open(QIODevice::ReadOnly)))
        return refuse(Status::Unsupported);
    if (fromStdin) {
        // A pipe hands its bytes over in pieces: read to its end.
        for (QByteArray piece; !(piece = input.read(1 << 20)).isEmpty() || input.waitForReadyRead(-1);) {
            bytes += piece;
            if (bytes.size() > kMaxStdinBytes)
                return refuse(Status::TooLarge);
        }
    } else if (input.size() > 0) {
        // Mapped, not read: the decoders look at the file without a copy of it.
        const uchar* mapped = input.map(0, input.size());
        if (!mapped)
            return refuse(Status::OutOfMemory);
        bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), input.size());
    }
    const bool metafile =
        detectMetafile(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()))
        != MetafileKind::Unknown;

    // Text in metafiles needs fonts, and fonts need a GUI application; no window
    // is ever shown, so the offscreen platform serves.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (metafile)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    qInstallMessageHandler(onMessage);

    DecodeOutcome outcome;
    try {
        outcome = metafile ? renderMetafile(bytes, size) : decodeRaster(bytes, decodeIntoPixelFile);
    } catch (const std::bad_alloc&) {
        outcome = DecodeOutcome::refused(Status::OutOfMemory);
    }
    if (outcome.status != Status::Ok)
        return refuse(outcome.status, outcome.declared, outcome.count);

    Header header;
    header.width = uint32_t(outcome.image.width());
    header.height = uint32_t(outcome.image.height());
    const QSize natural = metafile ? outcome.natural : outcome.image.size();
    header.naturalWidth = uint32_t(natural.width());
    header.naturalHeight = uint32_t(natural.height());
    header.vector = metafile ? 1 : 0;
    try {
        const bool inPlace = sharedPixels && outcome.image.constBits() == sharedPixels;
        return writeAll(&header, sizeof header, STDOUT_FILENO) && (inPlace || writePixels(outcome.image)) ? 0 : 1;
    } catch (const std::bad_alloc&) {
        return 1;  // the header is out: the program sees the rows end early
    }
}
