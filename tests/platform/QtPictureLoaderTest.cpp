#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

QString fixture(const char* name) { return QStringLiteral(ORVANTA_FIXTURES "/") + QString::fromUtf8(name); }

QByteArray readFixture(const char* name)
{
    QFile f(fixture(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QByteArray randomBytes(int count, unsigned seed)
{
    std::mt19937 gen(seed);
    QByteArray out(count, '\0');
    for (char& c : out)
        c = static_cast<char>(gen() & 0xff);
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

void expectFailureNaming(const PictureLoadResult& result, const QString& fileName)
{
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.picture.isNull());
    EXPECT_TRUE(result.error.startsWith(QStringLiteral("「%1」を開けませんでした。").arg(fileName)))
        << result.error.toStdString();
}

// --- every supported raster format: size and pixels where we drew them -------

struct Probe {
    QPoint at;
    QRgb colour;
};

struct RasterCase {
    const char* file;
    int tolerance;  // JPEG is lossy
    std::vector<Probe> probes;
};

void PrintTo(const RasterCase& c, std::ostream* os) { *os << c.file; }

class RasterLoad : public ::testing::TestWithParam<RasterCase> {};

TEST_P(RasterLoad, LoadsWithNaturalSizeAndPixels)
{
    const RasterCase& c = GetParam();
    QtPictureLoader loader;
    const PictureLoadResult result = loader.load(fixture(c.file));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_FALSE(result.picture.isVector());
    EXPECT_EQ(result.picture.naturalSize(), QSize(40, 30));
    const QImage image = result.picture.stretched(QSize(40, 30));
    for (const Probe& p : c.probes)
        EXPECT_TRUE(near(image.pixel(p.at), p.colour, c.tolerance))
            << c.file << " at " << p.at.x() << "," << p.at.y() << " got " << std::hex << image.pixel(p.at);
}

// The pictures: white, a red square (5,5)-(14,14), a black line (0,29)-(39,0);
// the GIF is a blue square on a transparent background, which must show white.
const std::vector<Probe> kDrawn = {{{10, 10}, qRgb(255, 0, 0)}, {{0, 29}, qRgb(0, 0, 0)}, {{30, 25}, qRgb(255, 255, 255)}};

INSTANTIATE_TEST_SUITE_P(Formats, RasterLoad,
    ::testing::Values(RasterCase{"graph.bmp", 0, kDrawn}, RasterCase{"graph.png", 0, kDrawn},
        RasterCase{"graph.jpg", 60, {{{10, 10}, qRgb(255, 0, 0)}, {{30, 25}, qRgb(255, 255, 255)}}},
        RasterCase{"graph.gif", 0, {{{10, 10}, qRgb(0, 0, 255)}, {{0, 0}, qRgb(255, 255, 255)}, {{39, 29}, qRgb(255, 255, 255)}}}),
    [](const auto& info) { return QString::fromUtf8(info.param.file).replace('.', '_').toStdString(); });

// --- metafiles through the helper ----------------------------------------------

struct MetafileCase {
    const char* file;
    QSize size;
};

void PrintTo(const MetafileCase& c, std::ostream* os) { *os << c.file; }

class MetafileLoad : public ::testing::TestWithParam<MetafileCase> {};

TEST_P(MetafileLoad, RendersMostlyWhiteWithDarkLines)
{
    const MetafileCase& c = GetParam();
    QtPictureLoader loader;
    const PictureLoadResult result = loader.load(fixture(c.file));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_TRUE(result.picture.isVector());
    // The converters size the drawing from the file's bounds, give or take the
    // inclusive right and bottom edge.
    EXPECT_NEAR(result.picture.naturalSize().width(), c.size.width(), 1);
    EXPECT_NEAR(result.picture.naturalSize().height(), c.size.height(), 1);

    const QImage image = result.picture.stretched(QSize(300, 200));
    ASSERT_EQ(image.size(), QSize(300, 200));
    int dark = 0;
    int white = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            dark += qGray(p) < 96;
            white += qGray(p) > 240;
        }
    }
    const int total = image.width() * image.height();
    EXPECT_GT(dark, 100);
    EXPECT_GT(white, total * 7 / 10);
}

INSTANTIATE_TEST_SUITE_P(Formats, MetafileLoad,
    ::testing::Values(MetafileCase{"plot.emf", {240, 180}}, MetafileCase{"drawing.wmf", {224, 164}}),
    [](const auto& info) { return QString::fromUtf8(info.param.file).replace('.', '_').toStdString(); });

// --- damaged files, made fresh from the fixtures -------------------------------

struct DamagedCase {
    const char* name;  // the file name the damage is saved under
    std::function<QByteArray()> make;
};

QByteArray truncated(const char* file) { QByteArray b = readFixture(file); return b.left(b.size() / 2); }

// Keeps the metafile's header and replaces everything after it.
QByteArray garbageAfterHeader(const char* file, int headerBytes)
{
    QByteArray b = readFixture(file);
    return b.left(headerBytes) + randomBytes(int(b.size()) - headerBytes, 7);
}

QByteArray bmpDeclaring(qint32 width, qint32 height)
{
    QByteArray b = readFixture("graph.bmp");
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    return b;
}

QByteArray hugeBmp() { return bmpDeclaring(100000, 100000); }

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class DamagedLoad : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedLoad, FailsWithMessageNamingTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(GetParam().name));
    ASSERT_TRUE(writeFile(path, GetParam().make()));
    QtPictureLoader loader;
    expectFailureNaming(loader.load(path), QString::fromUtf8(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedLoad,
    ::testing::Values(DamagedCase{"empty.bmp", [] { return QByteArray(); }},
        DamagedCase{"noise.jpg", [] { return randomBytes(4096, 1); }},
        DamagedCase{"noise.emf", [] { return randomBytes(4096, 2); }},
        DamagedCase{"text.wmf", [] { return QByteArray("not a picture at all\r\n"); }},
        DamagedCase{"cut.bmp", [] { return truncated("graph.bmp"); }},
        DamagedCase{"cut.jpg", [] { return truncated("graph.jpg"); }},
        DamagedCase{"cut.gif", [] { return truncated("graph.gif"); }},
        DamagedCase{"cut.png", [] { return truncated("graph.png"); }},
        DamagedCase{"cut.emf", [] { return truncated("plot.emf"); }},
        DamagedCase{"cut.wmf", [] { return truncated("drawing.wmf"); }},
        DamagedCase{"huge.bmp", hugeBmp},
        DamagedCase{"garbage.emf", [] { return garbageAfterHeader("plot.emf", 108); }},
        DamagedCase{"garbage.wmf", [] { return garbageAfterHeader("drawing.wmf", 40); }},
        // A BMP under a metafile's name and the other way round: content decides.
        DamagedCase{"header only.emf", [] { return readFixture("plot.emf").left(108); }}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

// --- names, content sniffing and the helper process ----------------------------

TEST(QtPictureLoader, JapaneseNamesWithSpacesLoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtPictureLoader loader;
    for (const char* source : {"graph.png", "plot.emf", "drawing.wmf"}) {
        const QString path = dir.filePath(QStringLiteral("グラフ 資料 ﾃﾞｰﾀ ") + QString::fromUtf8(source));
        ASSERT_TRUE(QFile::copy(fixture(source), path));
        const PictureLoadResult result = loader.load(path);
        EXPECT_TRUE(result.ok()) << source << ": " << result.error.toStdString();
    }
}

TEST(QtPictureLoader, FormatIsDecidedByContentNotName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bmpAsEmf = dir.filePath("really a bitmap.emf");
    const QString emfAsBmp = dir.filePath("really a metafile.bmp");
    ASSERT_TRUE(QFile::copy(fixture("graph.bmp"), bmpAsEmf));
    ASSERT_TRUE(QFile::copy(fixture("plot.emf"), emfAsBmp));
    QtPictureLoader loader;
    const PictureLoadResult bitmap = loader.load(bmpAsEmf);
    const PictureLoadResult metafile = loader.load(emfAsBmp);
    ASSERT_TRUE(bitmap.ok()) << bitmap.error.toStdString();
    ASSERT_TRUE(metafile.ok()) << metafile.error.toStdString();
    EXPECT_FALSE(bitmap.picture.isVector());
    EXPECT_TRUE(metafile.picture.isVector());
}

// A GIF whose screen and frame declare the given size but whose data is the
// fixture's 40 x 30 pixels.
QByteArray gifDeclaring(quint16 width, quint16 height)
{
    QByteArray b = readFixture("graph.gif");
    const qsizetype frame = b.indexOf(QByteArray("\x2c\0\0\0\0\x28\0\x1e\0", 9));
    EXPECT_GT(frame, 0);
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<quint16>(width, p + 6);
    qToLittleEndian<quint16>(height, p + 8);
    qToLittleEndian<quint16>(width, p + frame + 5);
    qToLittleEndian<quint16>(height, p + frame + 7);
    return b;
}

// Refused from the header alone, with a message that says why.
TEST(QtPictureLoader, DeclaredSizeOverTheLimitIsRefusedBeforeDecoding)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QtPictureLoader loader;
    for (const QSize declared : {QSize(20001, 20000), QSize(65535, 65535)}) {
        const QString path = dir.filePath(QStringLiteral("big %1.gif").arg(declared.width()));
        ASSERT_TRUE(writeFile(path, gifDeclaring(quint16(declared.width()), quint16(declared.height()))));
        const PictureLoadResult result = loader.load(path);
        expectFailureNaming(result, QFileInfo(path).fileName());
        EXPECT_TRUE(result.error.contains(QStringLiteral("大きすぎます"))) << result.error.toStdString();
    }
}

TEST(QtPictureLoader, MissingFileFails)
{
    QtPictureLoader loader;
    expectFailureNaming(loader.load(fixture("no such picture.bmp")), QStringLiteral("no such picture.bmp"));
}

TEST(QtPictureLoader, DefaultHelperSitsBesideTheExecutable)
{
    QtPictureLoader loader;
    EXPECT_TRUE(QFile::exists(loader.helperPath())) << loader.helperPath().toStdString();
}

// Helpers that misbehave in every way a real one could: absent, hanging,
// crashing, or printing something that is not SVG.
struct HelperCase {
    const char* name;
    const char* script;  // empty: the helper does not exist
};

void PrintTo(const HelperCase& c, std::ostream* os) { *os << c.name; }

class BrokenHelper : public ::testing::TestWithParam<HelperCase> {};

TEST_P(BrokenHelper, MetafileLoadFailsCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString helper = dir.filePath("helper.sh");
    if (*GetParam().script) {
        ASSERT_TRUE(writeFile(helper, QByteArray("#!/bin/sh\n") + GetParam().script + "\n"));
        ASSERT_TRUE(QFile::setPermissions(helper, QFile::ReadOwner | QFile::ExeOwner));
    }
    QtPictureLoader loader(helper);
    loader.setHelperTimeout(300);
    expectFailureNaming(loader.load(fixture("plot.emf")), QStringLiteral("plot.emf"));
}

INSTANTIATE_TEST_SUITE_P(Helpers, BrokenHelper,
    ::testing::Values(HelperCase{"Missing", ""}, HelperCase{"Hangs", "exec sleep 30"},
        HelperCase{"Crashes", "kill -SEGV $$"}, HelperCase{"PrintsNonsense", "echo hello; exit 0"},
        HelperCase{"FailsWithOutput", "echo '<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>'; exit 3"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
