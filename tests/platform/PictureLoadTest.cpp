#include "platform/picture/QtPictureLoader.h"
#include "platform/qt/QtLoadProgress.h"
#include "raster/PixelBuffer.h"
#include "raster/Stretch.h"
#include "trace/TraceRun.h"

#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

QString fixture(const char* name) { return QStringLiteral(ORVANTA_FIXTURES "/") + QString::fromUtf8(name); }
const QSize kCanvas(447, 335);

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool dark(QRgb p) { return qRed(p) <= 100 && qGreen(p) <= 100 && qBlue(p) <= 100; }

void expectRefused(const PictureLoadResult& result, const QString& fileName, const QString& reason)
{
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.picture.isNull());
    EXPECT_EQ(result.error.toStdString(), QStringLiteral("「%1」を開けませんでした。\n%2").arg(fileName, reason).toStdString());
}

// White, a red square (5,5)-(14,14), a black line (0,29)-(39,0); the GIF is a
// blue square on a transparent background, which must show white.
TEST(RasterLoad, LoadsWithNaturalSizeAndPixels)
{
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    const std::vector<std::pair<QPoint, QRgb>> drawn = {{{10, 10}, red}, {{0, 29}, qRgb(0, 0, 0)}, {{30, 25}, white}};
    struct Case { const char* file; int tolerance; std::vector<std::pair<QPoint, QRgb>> probes; };
    for (const Case& c : {Case{"graph.bmp", 0, drawn}, Case{"graph-rle.bmp", 0, drawn}, Case{"graph.png", 0, drawn},
                          Case{"graph.jpg", 60, {{{10, 10}, red}, {{30, 25}, white}}},  // lossy
                          Case{"graph.gif", 0, {{{10, 10}, qRgb(0, 0, 255)}, {{0, 0}, white}, {{39, 29}, white}}}}) {
        SCOPED_TRACE(c.file);
        const PictureLoadResult result = QtPictureLoader().load(fixture(c.file), kCanvas);
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_FALSE(result.picture.isVector());
        ASSERT_EQ(result.picture.image().size(), QSize(40, 30));
        EXPECT_EQ(result.picture.image().format(), QImage::Format_RGB32);
        for (const auto& [at, colour] : c.probes) {
            const QRgb got = result.picture.image().pixel(at);
            EXPECT_LE(std::max({std::abs(qRed(got) - qRed(colour)), std::abs(qGreen(got) - qGreen(colour)),
                                std::abs(qBlue(got) - qBlue(colour))}), c.tolerance)
                << at.x() << "," << at.y() << " got " << std::hex << got;
        }
    }
}

// Metafiles arrive rendered at the size asked for, keep their bytes and their
// own size, and can be rendered again at another size.
TEST(MetafileLoad, RendersAtTheAskedSizeAndAgain)
{
    QtPictureLoader loader;
    for (const auto& [file, natural] : {std::pair{"plot.emf", QSize(239, 179)}, std::pair{"drawing.wmf", QSize(223, 163)}}) {
        SCOPED_TRACE(file);
        const PictureLoadResult result = loader.load(fixture(file), QSize(600, 400));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        ASSERT_TRUE(result.picture.isVector());
        EXPECT_EQ(result.picture.naturalSize(), natural);
        QFile original(fixture(file));
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        EXPECT_EQ(result.picture.metafile(), original.readAll());
        const QImage& image = result.picture.image();
        ASSERT_EQ(image.size(), QSize(600, 400));
        qint64 darkPixels = 0, white = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x) {
                darkPixels += dark(image.pixel(x, y));
                white += image.pixel(x, y) == qRgb(255, 255, 255);
            }
        EXPECT_GT(darkPixels, 600);
        EXPECT_GT(white, 600 * 400 * 7 / 10);

        const PictureLoadResult again = loader.renderVector(result.picture, QSize(90, 1200));
        ASSERT_TRUE(again.ok()) << again.error.toStdString();
        EXPECT_EQ(again.picture.image().size(), QSize(90, 1200));
        EXPECT_EQ(again.picture.naturalSize(), natural);
        EXPECT_EQ(again.picture.metafile(), result.picture.metafile());
    }
    EXPECT_EQ(loader.renderVector(Picture::fromImage(QImage(4, 4, QImage::Format_RGB32)), QSize(9, 9)).error,
              QStringLiteral("メタファイルを描き直せませんでした。\n対応していない形式か、壊れたファイルです。"));
}

// A 1-point gnuplot curve saved as a metafile, opened at four times the
// canvas and shrunk onto it as the window does, is dark along its whole
// length: the tracer follows it over nearly all of its interval.
TEST(MetafileLoad, ThinCurveStaysDarkEnoughToTrace)
{
    const PictureLoadResult result = QtPictureLoader().load(fixture("trace/sine.emf"), kCanvas * 4);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    const QImage canvas = stretchImage(result.picture.image(), kCanvas);
    PixelBuffer buffer;
    buffer.redim(kCanvas.width(), kCanvas.height());
    ReadPixels(canvas, buffer);
    // The plot area spans x from 12 % to 95 % of the width; start on the curve.
    const int startX = 60, endX = 415;
    int startY = 0;
    while (startY < kCanvas.height() && !dark(canvas.pixel(startX, startY + 100)))
        ++startY;
    startY += 100;
    TraceSettings settings;
    settings.freq = 1;
    const std::vector<TracePoint> points = TraceRun(buffer, settings, startX * 15, startY * 15, endX * 15, kCanvas.height());
    EXPECT_GE(points.size(), size_t((endX - startX) * 95 / 100)) << "start row " << startY;
}

// Japanese names with spaces load, and the content, not the extension, decides the format.
TEST(QtPictureLoader, AnyNameLoadsByContent)
{
    QTemporaryDir dir;
    struct Case { const char* source; const char* savedAs; bool vector; };
    for (const Case c : {Case{"graph.png", "グラフ 資料 ﾃﾞｰﾀ.png", false}, Case{"drawing.wmf", "グラフ 資料 ﾃﾞｰﾀ.wmf", true},
                         Case{"graph.bmp", "really a bitmap.emf", false}, Case{"plot.emf", "本当は メタファイル.bmp", true}}) {
        const QString path = dir.filePath(QString::fromUtf8(c.savedAs));
        ASSERT_TRUE(QFile::copy(fixture(c.source), path));
        const PictureLoadResult result = QtPictureLoader().load(path, kCanvas);
        ASSERT_TRUE(result.ok()) << c.savedAs << ": " << result.error.toStdString();
        EXPECT_EQ(result.picture.isVector(), c.vector) << c.savedAs;
    }
}

TEST(QtPictureLoader, MissingOrEmptyFileAndDefaultHelperBesideTheExecutable)
{
    QtPictureLoader loader;
    expectRefused(loader.load(fixture("no such picture.bmp"), kCanvas), "no such picture.bmp",
                  QStringLiteral("ファイルが見つからないか、読み込めません。"));
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath("empty.bmp"), {}));
    expectRefused(loader.load(dir.filePath("empty.bmp"), kCanvas), "empty.bmp", QStringLiteral("ファイルが空です。"));
    EXPECT_TRUE(QFile::exists(loader.helperPath())) << loader.helperPath().toStdString();
}

// Counts what the loader reports while it waits; cancels at a given report.
class ScriptedProgress : public LoadProgress {
public:
    int cancelAt = -1;
    std::vector<double> fractions;
    int finishes = 0;
    bool update(const QString&, qint64, double fraction) override
    {
        fractions.push_back(fraction);
        return int(fractions.size()) != cancelAt;
    }
    void finished() override { ++finishes; }
};

// A helper that is missing, hangs, crashes or talks nonsense, and a user who
// cancels: each ends in a message naming the file, and the helper is gone.
TEST(BrokenHelper, EveryFailureIsAMessage)
{
    const QString broke = QStringLiteral("画像の読み込み中にエラーが起きました。");
    struct Case { const char* script; int cancelAt; QString reason; };
    const Case cases[] = {
        {"", -1, QStringLiteral("画像を読み込むプログラムを起動できません。")},
        {"exec sleep 30", -1, QStringLiteral("読み込みが時間内に終わりませんでした。")},
        {"exec sleep 30", 3, QStringLiteral("読み込みを中止しました。")},
        {"kill -SEGV $$", -1, broke},
        {"echo hello; exit 0", -1, broke},
        // A header promising 60000 x 60000 pixels: refused before any allocation.
        {"printf 'ORVD\\0\\0\\0\\0\\140\\352\\0\\0\\140\\352\\0\\0'; head -c 16 /dev/zero", -1, broke},
        // The right header, then the rows stop early.
        {"printf 'ORVD\\0\\0\\0\\0\\50\\0\\0\\0\\36\\0\\0\\0'; head -c 1000 /dev/zero", -1, broke},
        {"printf 'ORVD\\4\\0\\0\\0'; head -c 24 /dev/zero", -1, QStringLiteral("ファイルが途中で切れています。")},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const QString helper = dir.filePath(QStringLiteral("helper%1.sh").arg(n++));
        if (*c.script) {
            ASSERT_TRUE(writeFile(helper, QByteArray("#!/bin/sh\n") + c.script + "\n"));
            ASSERT_TRUE(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
        }
        ScriptedProgress progress;
        progress.cancelAt = c.cancelAt;
        QtPictureLoader loader(helper, &progress);
        loader.setTimeLimit(500);
        expectRefused(loader.load(fixture("graph.png"), kCanvas), "graph.png", c.reason);
        if (c.cancelAt > 0) {
            EXPECT_EQ(int(progress.fractions.size()), c.cancelAt);
        }
    }
}

// The progress box appears only once a load has taken a second, names the
// file, and its Cancel button ends the load.
TEST(QtLoadProgress, ShowsAfterASecondAndCancels)
{
    QtLoadProgress progress;
    EXPECT_TRUE(progress.update("グラフ.png", 999, -1));
    EXPECT_EQ(progress.dialog(), nullptr);
    EXPECT_TRUE(progress.update("グラフ.png", 1000, 0.5));
    ASSERT_NE(progress.dialog(), nullptr);
    EXPECT_EQ(progress.dialog()->labelText().toStdString(), "「グラフ.png」を読み込んでいます…");
    EXPECT_EQ(progress.dialog()->value(), 50);
    progress.dialog()->cancel();
    EXPECT_FALSE(progress.update("グラフ.png", 1050, 0.6));
    progress.finished();
    EXPECT_EQ(progress.dialog(), nullptr);
}

} // namespace
