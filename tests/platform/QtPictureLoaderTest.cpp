#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

QString fixture(const char* name) { return QStringLiteral(ORVANTA_FIXTURES "/") + QString::fromUtf8(name); }

QByteArray readFixture(const char* name)
{
    QFile f(fixture(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QByteArray randomBytes(qsizetype count, unsigned seed)
{
    QByteArray out(count, '\0');
    std::generate(out.begin(), out.end(), [gen = std::mt19937(seed)]() mutable { return char(gen() & 0xff); });
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void expectFailureNaming(const PictureLoadResult& result, const QString& fileName)
{
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.picture.isNull());
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("「%1」を開けませんでした。").arg(fileName)))
        << result.error.toStdString();
}

TEST(RasterLoad, LoadsWithNaturalSizeAndPixels)
{
    // White, a red square (5,5)-(14,14), a black line (0,29)-(39,0); the GIF is a
    // blue square on a transparent background, which must show white.
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    const std::vector<std::pair<QPoint, QRgb>> drawn = {{{10, 10}, red}, {{0, 29}, qRgb(0, 0, 0)}, {{30, 25}, white}};
    struct Case { const char* file; int tolerance; std::vector<std::pair<QPoint, QRgb>> probes; };
    for (const Case& c : {Case{"graph.bmp", 0, drawn}, Case{"graph.png", 0, drawn},
                          Case{"graph.jpg", 60, {{{10, 10}, red}, {{30, 25}, white}}},  // lossy
                          Case{"graph.gif", 0, {{{10, 10}, qRgb(0, 0, 255)}, {{0, 0}, white}, {{39, 29}, white}}}}) {
        SCOPED_TRACE(c.file);
        const PictureLoadResult result = QtPictureLoader().load(fixture(c.file));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_FALSE(result.picture.isVector());
        EXPECT_EQ(result.picture.naturalSize(), QSize(40, 30));
        const QImage image = result.picture.stretched(QSize(40, 30));
        for (const auto& [at, colour] : c.probes) {
            const QRgb got = image.pixel(at);
            EXPECT_TRUE(std::abs(qRed(got) - qRed(colour)) <= c.tolerance && std::abs(qGreen(got) - qGreen(colour)) <= c.tolerance
                        && std::abs(qBlue(got) - qBlue(colour)) <= c.tolerance)
                << at.x() << "," << at.y() << " got " << std::hex << got;
        }
    }
}

TEST(MetafileLoad, RendersMostlyWhiteWithDarkLines)
{
    for (const auto& [file, size] : {std::pair{"plot.emf", QSize(240, 180)}, std::pair{"drawing.wmf", QSize(224, 164)}}) {
        SCOPED_TRACE(file);
        const PictureLoadResult result = QtPictureLoader().load(fixture(file));
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_TRUE(result.picture.isVector());
        // Sized from the file's bounds, give or take the inclusive right and bottom edge.
        EXPECT_NEAR(result.picture.naturalSize().width(), size.width(), 1);
        EXPECT_NEAR(result.picture.naturalSize().height(), size.height(), 1);
        const QImage image = result.picture.stretched(QSize(300, 200));
        ASSERT_EQ(image.size(), QSize(300, 200));
        int dark = 0, white = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x) {
                dark += qGray(image.pixel(x, y)) < 96;
                white += qGray(image.pixel(x, y)) > 240;
            }
        EXPECT_GT(dark, 100);
        EXPECT_GT(white, 300 * 200 * 7 / 10);
    }
}

// Damaged files, made fresh from the fixtures, fail with a message naming the file.
TEST(DamagedLoad, FailsWithMessageNamingTheFile)
{
    QByteArray huge = readFixture("graph.bmp");
    qToLittleEndian<qint32>(100000, huge.data() + 18);  // width
    qToLittleEndian<qint32>(100000, huge.data() + 22);  // height
    const QByteArray emf = readFixture("plot.emf"), wmf = readFixture("drawing.wmf");
    std::vector<std::pair<QString, QByteArray>> files = {{"empty.bmp", {}}, {"noise.jpg", randomBytes(4096, 1)},
        {"noise.emf", randomBytes(4096, 2)}, {"text.wmf", "not a picture at all\r\n"}, {"huge.bmp", huge},
        // Metafile headers followed by garbage, or by nothing at all.
        {"garbage.emf", emf.left(108) + randomBytes(emf.size() - 108, 7)},
        {"garbage.wmf", wmf.left(40) + randomBytes(wmf.size() - 40, 7)}, {"header only.emf", emf.left(108)}};
    for (const char* source : {"graph.bmp", "graph.jpg", "graph.gif", "graph.png", "plot.emf", "drawing.wmf"}) {
        const QByteArray b = readFixture(source);
        files.push_back({QStringLiteral("cut ") + QString::fromUtf8(source), b.left(b.size() / 2)});
    }
    // GIFs whose screen and frame declare a size over the limit, with the
    // fixture's 40 x 30 pixels: refused from the header alone, saying why.
    const QByteArray gif = readFixture("graph.gif");
    const qsizetype frame = gif.indexOf(QByteArray("\x2c\0\0\0\0\x28\0\x1e\0", 9));
    ASSERT_GT(frame, 0);
    for (const QSize declared : {QSize(20001, 20000), QSize(65535, 65535)}) {
        QByteArray b = gif;
        for (const qsizetype at : {qsizetype(6), frame + 5}) {
            qToLittleEndian<quint16>(quint16(declared.width()), b.data() + at);
            qToLittleEndian<quint16>(quint16(declared.height()), b.data() + at + 2);
        }
        files.push_back({QStringLiteral("big %1.gif").arg(declared.width()), b});
    }
    QTemporaryDir dir;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(writeFile(dir.filePath(name), bytes));
        const PictureLoadResult result = QtPictureLoader().load(dir.filePath(name));
        expectFailureNaming(result, name);
        if (name.startsWith(QStringLiteral("big")))
            EXPECT_TRUE(result.error.contains(QStringLiteral("大きすぎます"))) << result.error.toStdString();
    }
}

// --- names, content sniffing, limits and the helper process ---------------------

// Japanese names with spaces load, and the content, not the extension, decides the format.
TEST(QtPictureLoader, AnyNameLoadsByContent)
{
    QTemporaryDir dir;
    struct Case { const char* source; const char* savedAs; bool vector; };
    for (const Case c : {Case{"graph.png", "グラフ 資料 ﾃﾞｰﾀ.png", false}, Case{"drawing.wmf", "グラフ 資料 ﾃﾞｰﾀ.wmf", true},
                         Case{"graph.bmp", "really a bitmap.emf", false}, Case{"plot.emf", "本当は メタファイル.bmp", true}}) {
        const QString path = dir.filePath(QString::fromUtf8(c.savedAs));
        ASSERT_TRUE(QFile::copy(fixture(c.source), path));
        const PictureLoadResult result = QtPictureLoader().load(path);
        ASSERT_TRUE(result.ok()) << c.savedAs << ": " << result.error.toStdString();
        EXPECT_EQ(result.picture.isVector(), c.vector) << c.savedAs;
    }
}

TEST(QtPictureLoader, MissingFileFailsAndDefaultHelperSitsBesideTheExecutable)
{
    QtPictureLoader loader;
    expectFailureNaming(loader.load(fixture("no such picture.bmp")), QStringLiteral("no such picture.bmp"));
    EXPECT_TRUE(QFile::exists(loader.helperPath())) << loader.helperPath().toStdString();
}

TEST(BrokenHelper, MetafileLoadFailsCleanly)
{
    QTemporaryDir dir;
    int n = 0;
    // Absent (""), hanging, crashing, printing something that is not SVG, failing after printing SVG.
    for (const char* script : {"", "exec sleep 30", "kill -SEGV $$", "echo hello; exit 0",
                               "echo '<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>'; exit 3"}) {
        SCOPED_TRACE(script);
        const QString helper = dir.filePath(QStringLiteral("helper%1.sh").arg(n++));
        if (*script) {
            ASSERT_TRUE(writeFile(helper, QByteArray("#!/bin/sh\n") + script + "\n"));
            ASSERT_TRUE(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
        }
        QtPictureLoader loader(helper);
        loader.setHelperTimeout(300);
        expectFailureNaming(loader.load(fixture("plot.emf")), QStringLiteral("plot.emf"));
    }
}

} // namespace
