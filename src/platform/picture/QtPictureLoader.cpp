#include "platform/picture/QtPictureLoader.h"

#include "platform/picture/HelperPath.h"
#include "platform/picture/RasterCompleteness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QtEndian>

#include <utility>

namespace {

// Enough room for a picture of kMaxPixels at four bytes a pixel; Qt's own
// default (256 MB) would refuse pictures well below our limit.
constexpr int kAllocationLimitMb = 1600;
// The SVG of a plotted graph is kilobytes to a few megabytes.
constexpr qsizetype kMaxSvgBytes = qsizetype(64) << 20;
constexpr int kMaxVectorSide = 20000;

PictureLoadResult failure(const QString& path, const QString& reason)
{
    PictureLoadResult result;
    result.error = QStringLiteral("「%1」を開けませんでした。\n%2").arg(QFileInfo(path).fileName(), reason);
    return result;
}

// Only these decoders are trusted: several other Qt plugins (TGA, WBMP) accept
// almost any bytes as a picture and would turn a damaged file into noise.
bool isAcceptedRasterFormat(const QByteArray& format)
{
    static const QByteArray accepted[] = {"bmp", "jpeg", "jpg", "gif", "png", "tiff", "tif", "webp"};
    for (const QByteArray& name : accepted) {
        if (format == name)
            return true;
    }
    return false;
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

} // namespace

QtPictureLoader::QtPictureLoader(QString helperPath) : helperPath_(std::move(helperPath))
{
    if (helperPath_.isEmpty())
        helperPath_ = decoderHelperPath();
}

PictureLoadResult QtPictureLoader::load(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return failure(path, QStringLiteral("ファイルが見つからないか、読み込めません。"));
    const QByteArray head = file.read(64);
    file.close();
    if (head.isEmpty())
        return failure(path, QStringLiteral("ファイルが空です。"));
    return looksLikeMetafile(head) ? loadMetafile(path) : loadRaster(path);
}

PictureLoadResult QtPictureLoader::loadRaster(const QString& path) const
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    if (!reader.canRead() || !isAcceptedRasterFormat(reader.format()))
        return failure(path, QStringLiteral("対応していない形式か、壊れたファイルです。"));

    // Refuse from the declared size, before the decoder allocates anything.
    // Every accepted decoder reports the size from the header; one that cannot
    // has met a header it does not trust either.
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return failure(path, QStringLiteral("画像の大きさを読み取れません。壊れている可能性があります。"));
    if (qint64(declared.width()) * qint64(declared.height()) > kMaxPixels)
        return failure(path, QStringLiteral("画像が大きすぎます（%1×%2 ピクセル）。")
                                 .arg(declared.width())
                                 .arg(declared.height()));

    if (!isRasterFileComplete(path, reader.format()))
        return failure(path, QStringLiteral("ファイルが途中で切れています。"));

    const QImage image = reader.read();
    if (image.isNull())
        return failure(path, QStringLiteral("画像を読み込めません。壊れている可能性があります。"));
    if (qint64(image.width()) * qint64(image.height()) > kMaxPixels)
        return failure(path, QStringLiteral("画像が大きすぎます（%1×%2 ピクセル）。").arg(image.width()).arg(image.height()));

    PictureLoadResult result;
    result.picture = Picture::fromImage(image);
    if (result.picture.isNull())
        return failure(path, QStringLiteral("画像を読み込めません。"));
    return result;
}

PictureLoadResult QtPictureLoader::loadMetafile(const QString& path) const
{
    QProcess helper;
    helper.setProgram(helperPath_);
    helper.setArguments({path});
    helper.setProcessChannelMode(QProcess::SeparateChannels);
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.start(QIODevice::ReadOnly);
    if (!helper.waitForStarted(helperTimeoutMs_))
        return failure(path, QStringLiteral("メタファイルの変換プログラムを起動できません。"));

    // Read as we go: the helper blocks once the pipe is full, and the size cap
    // must hold before the whole output sits in memory.
    const QDeadlineTimer deadline(helperTimeoutMs_);
    QByteArray svg;
    bool tooLarge = false;
    while (helper.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        helper.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 100)));
        svg += helper.readAllStandardOutput();
        helper.readAllStandardError();  // keep the error pipe from filling up
        if (svg.size() > kMaxSvgBytes) {
            tooLarge = true;
            break;
        }
    }
    if (helper.state() != QProcess::NotRunning) {
        helper.kill();
        helper.waitForFinished(2000);
        return failure(path, tooLarge ? QStringLiteral("メタファイルの変換結果が大きすぎます。")
                                      : QStringLiteral("メタファイルの変換が時間内に終わりませんでした。"));
    }
    svg += helper.readAllStandardOutput();

    if (helper.exitStatus() != QProcess::NormalExit)
        return failure(path, QStringLiteral("メタファイルの変換中にエラーが起きました。"));
    if (helper.exitCode() != 0 || svg.isEmpty() || svg.size() > kMaxSvgBytes)
        return failure(path, QStringLiteral("メタファイルを変換できません。壊れている可能性があります。"));

    PictureLoadResult result;
    result.picture = Picture::fromSvg(svg);
    const QSize size = result.picture.naturalSize();
    if (result.picture.isNull() || size.isEmpty() || size.width() > kMaxVectorSide || size.height() > kMaxVectorSide)
        return failure(path, QStringLiteral("メタファイルを変換できません。壊れている可能性があります。"));
    return result;
}
