#include "platform/picture/QtPictureLoader.h"

#include "platform/protocol/DecodeProtocol.h"
#include "platform/picture/HelperPath.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>
#include <utility>

using decodeproto::Header;
using decodeproto::Status;

namespace {

// The bytes of a metafile are kept with its rendering; those of plotted graphs
// are kilobytes to a few megabytes.
constexpr qint64 kMaxMetafileBytes = qint64(128) << 20;
constexpr int kPollMs = 50;

QString message(const QString& fileName, const QString& reason)
{
    return QStringLiteral("「%1」を開けませんでした。\n%2").arg(fileName, reason);
}

PictureLoadResult failure(const QString& reason)
{
    PictureLoadResult result;
    result.error = reason;
    return result;
}

// The helper crashed, was stopped by its caps or sent something else.
QString helperBroke() { return QStringLiteral("画像の読み込み中にエラーが起きました。"); }

QString reasonFor(const Header& header)
{
    switch (header.status) {
    case Status::Unsupported: return QStringLiteral("対応していない形式か、壊れたファイルです。");
    case Status::UnreadableSize: return QStringLiteral("画像の大きさを読み取れません。壊れている可能性があります。");
    case Status::TooLarge:
        return header.width && header.height
            ? QStringLiteral("画像が大きすぎます（%1×%2 ピクセル）。").arg(header.width).arg(header.height)
            : QStringLiteral("画像が大きすぎます。");
    case Status::Truncated: return QStringLiteral("ファイルが途中で切れています。");
    case Status::Damaged: return QStringLiteral("画像を読み込めません。壊れている可能性があります。");
    case Status::MetafileDamaged: return QStringLiteral("メタファイルを変換できません。壊れている可能性があります。");
    case Status::OutOfMemory: return QStringLiteral("画像を読み込むためのメモリが足りません。");
    case Status::SideTooLong:
        return QStringLiteral("画像の幅か高さが %1 ピクセルを超えています（%2×%3 ピクセル）。")
            .arg(decodeproto::kMaxSide).arg(header.width).arg(header.height);
    case Status::TooNarrow:
        return QStringLiteral("画像の縦横比が 1:%1 を超えています（%2×%3 ピクセル）。")
            .arg(decodeproto::kMaxAspect).arg(header.width).arg(header.height);
    case Status::TooManyScans:
        return QStringLiteral("JPEG のスキャンが多すぎます（%1 回、上限 %2 回）。").arg(header.count).arg(decodeproto::kMaxJpegScans);
    case Status::TooManyTexts:
        return QStringLiteral("メタファイルの文字列が多すぎます（%1 個、上限 %2 個）。").arg(header.count).arg(decodeproto::kMaxMetafileTexts);
    case Status::TooManyRecords:
        return QStringLiteral("メタファイルのレコードが多すぎます（%1 個、上限 %2 個）。").arg(header.count).arg(decodeproto::kMaxMetafileRecords);
    case Status::Ok: break;
    }
    return helperBroke();
}

bool looksLikeMetafile(const QByteArray& head)
{
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    const qsizetype n = head.size();
    if (n >= 44 && qFromLittleEndian<quint32>(p) == 1 && qFromLittleEndian<quint32>(p + 40) == 0x464D4520u)
        return true;  // enhanced metafile: header record with " EMF"
    if (n >= 4 && qFromLittleEndian<quint32>(p) == 0x9AC6CDD7u)
        return true;  // placeable standard metafile
    if (n >= 6) {
        const quint16 type = qFromLittleEndian<quint16>(p);
        const quint16 headerWords = qFromLittleEndian<quint16>(p + 2);
        const quint16 version = qFromLittleEndian<quint16>(p + 4);
        return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
    }
    return false;
}

QStringList sizeArguments(QSize size)
{
    if (size.isEmpty())
        return {};
    return {QStringLiteral("--size"), QStringLiteral("%1x%2").arg(size.width()).arg(size.height())};
}

// Stops the helper on every way out of a load.
class HelperProcess : public QProcess {
public:
    ~HelperProcess() override
    {
        if (state() != NotRunning) {
            kill();
            waitForFinished(2000);
        }
    }
};

// The memory file the helper writes the pixels into: the program maps it as
// its picture, so the pixels are never copied on this side.
constexpr int kPixelsFd = 3;

class PixelFile {
public:
    PixelFile() : fd_(memfd_create("orvanta-picture", MFD_CLOEXEC)) {}
    ~PixelFile()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    PixelFile(const PixelFile&) = delete;
    PixelFile& operator=(const PixelFile&) = delete;
    int fd() const { return fd_; }
    qint64 size() const
    {
        struct stat st {};
        return fd_ >= 0 && fstat(fd_, &st) == 0 ? qint64(st.st_size) : -1;
    }
    // The file as an RGB32 picture that unmaps itself; null when that fails.
    QImage map(int width, int height) const
    {
        const size_t bytes = size_t(width) * size_t(height) * 4;
        void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd_, 0);
        if (data == MAP_FAILED)
            return QImage();
        auto* mapping = new Mapping{data, bytes};
        return QImage(static_cast<uchar*>(data), width, height, qsizetype(width) * 4, QImage::Format_RGB32,
                      [](void* m) {
                          auto* mapping = static_cast<Mapping*>(m);
                          munmap(mapping->data, mapping->bytes);
                          delete mapping;
                      },
                      mapping);
    }

private:
    struct Mapping {
        void* data;
        size_t bytes;
    };
    int fd_;
};

} // namespace

QtPictureLoader::QtPictureLoader(QString helperPath, LoadProgress* progress)
    : helperPath_(std::move(helperPath)), progress_(progress)
{
    if (helperPath_.isEmpty())
        helperPath_ = decoderHelperPath();
}

PictureLoadResult QtPictureLoader::load(const QString& path, QSize vectorSize)
{
    const QString name = QFileInfo(path).fileName();
    PictureLoadResult result;
    try {
        QFile file(path);
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
            result = failure(QStringLiteral("ファイルが見つからないか、読み込めません。"));
        } else if (file.size() == 0) {
            result = failure(QStringLiteral("ファイルが空です。"));
        } else if (looksLikeMetafile(file.peek(64))) {
            // The helper reads the same bytes the picture keeps.
            QByteArray bytes = file.read(kMaxMetafileBytes + 1);
            result = bytes.size() > kMaxMetafileBytes
                ? failure(QStringLiteral("画像が大きすぎます。"))
                : decode(name, sizeArguments(vectorSize) << QStringLiteral("-"), bytes, bytes);
        } else {
            result = decode(name, {path}, {}, {});
        }
    } catch (const std::bad_alloc&) {
        result = failure(QStringLiteral("画像を読み込むためのメモリが足りません。"));
    }
    if (!result.error.isEmpty()) {
        result.picture = Picture();
        result.error = message(name, result.error);
    }
    return result;
}

PictureLoadResult QtPictureLoader::renderVector(const Picture& vector, QSize size)
{
    PictureLoadResult result;
    try {
        result = vector.isVector() ? decode(QString(), sizeArguments(size) << QStringLiteral("-"), vector.metafile(),
                                            vector.metafile())
                                   : failure(QStringLiteral("対応していない形式か、壊れたファイルです。"));
    } catch (const std::bad_alloc&) {
        result = failure(QStringLiteral("画像を読み込むためのメモリが足りません。"));
    }
    if (!result.error.isEmpty()) {
        result.picture = Picture();
        result.error = QStringLiteral("メタファイルを描き直せませんでした。\n%1").arg(result.error);
    }
    return result;
}

PictureLoadResult QtPictureLoader::renderVectorQuietly(const Picture& vector, QSize size)
{
    // A loader of its own: the progress box is a widget of the main thread.
    QtPictureLoader quiet(helperPath_);
    quiet.setTimeLimit(timeLimitMs_);
    return quiet.renderVector(vector, size);
}

PictureLoadResult QtPictureLoader::decode(const QString& fileName, QStringList arguments, const QByteArray& input,
                                          QByteArray metafile)
{
    PixelFile pixels;
    if (pixels.fd() < 0)
        return failure(QStringLiteral("画像を読み込むためのメモリが足りません。"));
    HelperProcess helper;
    helper.setProgram(helperPath_);
    helper.setArguments(QStringList{QStringLiteral("--pixels-fd"), QString::number(kPixelsFd)} + arguments);
    helper.setStandardErrorFile(QProcess::nullDevice());
    if (input.isEmpty())
        helper.setStandardInputFile(QProcess::nullDevice());
    const int fd = pixels.fd();
    helper.setChildProcessModifier([fd] {
        // Only the helper gets the file, as descriptor 3, kept across exec.
        dup2(fd, kPixelsFd);
        fcntl(kPixelsFd, F_SETFD, 0);
    });
    helper.start(input.isEmpty() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    if (!helper.waitForStarted(timeLimitMs_))
        return failure(QStringLiteral("画像を読み込むプログラムを起動できません。"));
    if (!input.isEmpty()) {
        helper.write(input);
        helper.closeWriteChannel();
    }

    QElapsedTimer clock;
    clock.start();
    Header header;
    qint64 headerBytes = 0;
    qint64 wanted = -1;
    struct ProgressShown {
        LoadProgress* progress;
        ~ProgressShown()
        {
            if (progress)
                progress->finished();
        }
    } shown{progress_};

    for (;;) {
        if (headerBytes < qint64(sizeof header) && helper.bytesAvailable() > 0) {
            headerBytes += helper.read(reinterpret_cast<char*>(&header) + headerBytes, sizeof header - headerBytes);
            if (headerBytes == qint64(sizeof header)) {
                if (header.magic != decodeproto::kMagic)
                    return failure(helperBroke());
                if (header.status != Status::Ok)
                    return failure(reasonFor(header));
                // Never trust the helper for an allocation size.
                const qint64 count = qint64(header.width) * header.height;
                if (count <= 0 || count > decodeproto::kMaxPixels || header.width > (1u << 28))
                    return failure(helperBroke());
                wanted = count * 4;
            }
        }
        if (headerBytes == qint64(sizeof header))
            helper.readAllStandardOutput();  // nothing is due after the header
        if (helper.state() == QProcess::NotRunning && helper.bytesAvailable() == 0)
            break;
        if (clock.elapsed() > timeLimitMs_)
            return failure(QStringLiteral("読み込みが時間内に終わりませんでした。"));
        const double fraction = wanted > 0 ? double(std::min(pixels.size(), wanted)) / double(wanted) : -1.0;
        if (progress_ && !progress_->update(fileName, clock.elapsed(), fraction))
            return failure(QStringLiteral("読み込みを中止しました。"));
        if (helper.state() != QProcess::NotRunning)
            helper.waitForFinished(kPollMs);
    }
    if (headerBytes < qint64(sizeof header) || helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0
        || pixels.size() != wanted)
        return failure(helperBroke());  // crashed, stopped by its caps, or sent too little
    QImage image = pixels.map(int(header.width), int(header.height));
    if (image.isNull())
        return failure(QStringLiteral("画像を読み込むためのメモリが足りません。"));

    PictureLoadResult result;
    const QSize natural(int(header.naturalWidth), int(header.naturalHeight));
    result.picture = header.vector ? Picture::fromRendering(std::move(image), std::move(metafile), natural)
                                   : Picture::fromImage(std::move(image));
    return result;
}
