// Files that once crashed, froze or fooled the program, made by the corpus
// tool from the fixtures, and the whole damaged corpus: every file opens
// correctly or is refused with a clear message, within the loader's limits.
#include "FuzzCorpus.h"

#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

namespace {

const QSize kCanvas(447, 335);

bool dark(QRgb p) { return qRed(p) <= 100 && qGreen(p) <= 100 && qBlue(p) <= 100; }

PictureLoadResult loadSaved(QtPictureLoader& loader, const QTemporaryDir& dir, const CorpusFile& file)
{
    QFile out(dir.filePath(file.name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.bytes) == file.bytes.size()) << file.name.toStdString();
    out.close();
    return loader.load(out.fileName(), kCanvas * 4);
}

// Opens at `size`, or is refused for `reason`.
struct Expected { QSize size; QString reason; };

std::map<QString, Expected> namedExpectations()
{
    const QString damaged = QStringLiteral("画像を読み込めません。壊れている可能性があります。");
    const QString truncated = QStringLiteral("ファイルが途中で切れています。");
    const QString metafile = QStringLiteral("メタファイルを変換できません。壊れている可能性があります。");
    const QString unsupported = QStringLiteral("対応していない形式か、壊れたファイルです。");
    std::map<QString, Expected> expected = {
        {"rle 16x16000000.bmp", {{16, 16'000'000}, {}}},
        {"bilevel 40x10000000.tif", {{40, 10'000'000}, {}}},
        {"progressive 3000 scans.jpg", {{}, damaged}},
        {"text chunk 2GB.png", {{}, damaged}},
        {"patched 20000x20000.jpg", {{}, damaged}},
        {"polyline 300000.emf", {kCanvas * 4, {}}},
        {"trailing data.jpg", {{40, 30}, {}}},
        {"no trailer.gif", {{40, 30}, {}}},
        {"trailing data.gif", {{40, 30}, {}}},
        {"top-down.bmp", {{40, 30}, {}}},
        {"rle cut in half.bmp", {{}, truncated}},
        {"middle cut.jpg", {{}, damaged}},
        {"middle cut.gif", {{}, truncated}},
        {"record counts 84.emf", {{}, metafile}},
        {"record counts 90.emf", {{}, metafile}},
        // Decoders Qt has, for formats with no magic number: they would take
        // almost any bytes for a picture.
        {"targa named.jpg", {{}, unsupported}},
        {"wbmp named.jpg", {{}, unsupported}},
        {"deep 15000x15000.png", {{}, QStringLiteral("画像が大きすぎます（15000×15000 ピクセル）。")}},
        {"damaged pixel data.png", {{}, damaged}},
        {"clip region.emf", {kCanvas * 4, {}}},
    };
    for (const int type : {90, 91, 35, 36, 44, 45, 46, 47, 55, 76, 77, 81, 82, 83, 84, 95, 114})
        expected[QStringLiteral("short record %1.emf").arg(type)] = {{}, metafile};
    return expected;
}

// The named files whose names `big` says (the tall pictures of hundreds of
// megapixels, a test of their own), or all the others.
void checkNamed(bool big)
{
    std::map<QString, Expected> expected = namedExpectations();
    std::erase_if(expected, [big](const auto& e) { return (e.second.size.height() > 1'000'000) != big; });
    QTemporaryDir dir;
    QtPictureLoader loader;
    int checked = 0;
    for (const CorpusFile& file : namedPictures(QStringLiteral(ORVANTA_FIXTURES))) {
        if (!expected.count(file.name))
            continue;  // judged by the corpus test below
        SCOPED_TRACE(file.name.toStdString());
        ++checked;
        const Expected& e = expected[file.name];
        const PictureLoadResult result = loadSaved(loader, dir, file);
        if (!e.reason.isEmpty()) {
            EXPECT_EQ(result.error.toStdString(), QStringLiteral("「%1」を開けませんでした。\n%2").arg(file.name, e.reason).toStdString());
            continue;
        }
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        ASSERT_EQ(result.picture.image().size(), e.size);
        if (e.size == QSize(40, 30))
            continue;
        // The picture's dark parts reach the canvas: the one black row of the
        // tall pictures across the whole width, the long curve over the width
        // of the plot (three fifths of the picture), not only its first part.
        const QImage canvas = result.picture.stretched(kCanvas);
        ASSERT_EQ(canvas.size(), kCanvas);
        int darkColumns = 0;
        for (int x = 0; x < kCanvas.width(); ++x) {
            bool any = false;
            for (int y = 0; y < kCanvas.height() && !any; ++y)
                any = dark(canvas.pixel(x, y));
            darkColumns += any;
        }
        EXPECT_GE(darkColumns, kCanvas.width() * (file.name.endsWith(".emf") ? 55 : 99) / 100);
    }
    EXPECT_EQ(checked, int(expected.size()));
}

TEST(NamedFaults, OpenRightOrAreRefusedSayingWhy) { checkNamed(false); }
TEST(NamedFaults, TallPicturesOpenWithinOneCopyOfTheirPixels) { checkNamed(true); }

// Every damaged or crafted file opens or is refused with a message naming it
// and saying why; none crashes the helper, runs into the time limit or gives
// a picture out of proportion to its file.
TEST(FuzzCorpus, EveryFileOpensOrIsRefusedCleanly)
{
    const QStringList reasons = {
        QStringLiteral("対応していない形式か、壊れたファイルです。"), QStringLiteral("画像の大きさを読み取れません。壊れている可能性があります。"),
        QStringLiteral("画像が大きすぎます"), QStringLiteral("ファイルが途中で切れています。"),
        QStringLiteral("画像を読み込めません。壊れている可能性があります。"),
        QStringLiteral("メタファイルを変換できません。壊れている可能性があります。"),
        QStringLiteral("画像を読み込むためのメモリが足りません。")};
    std::vector<CorpusFile> corpus = fuzzCorpus(QStringLiteral(ORVANTA_FIXTURES));
    const std::map<QString, Expected> judged = namedExpectations();
    for (CorpusFile& named : namedPictures(QStringLiteral(ORVANTA_FIXTURES))) {
        if (!judged.count(named.name))
            corpus.push_back(std::move(named));
    }
    ASSERT_GT(corpus.size(), 500u);
    // Two loads at a time: most of the time goes to starting the helper.
    QTemporaryDir dir;
    std::vector<PictureLoadResult> results(corpus.size());
    std::atomic<size_t> next = 0;
    const auto work = [&] {
        QtPictureLoader loader;
        for (size_t i = next++; i < corpus.size(); i = next++)
            results[i] = loadSaved(loader, dir, corpus[i]);
    };
    std::thread other(work);
    work();
    other.join();
    for (size_t i = 0; i < corpus.size(); ++i) {
        const CorpusFile& file = corpus[i];
        const PictureLoadResult& result = results[i];
        SCOPED_TRACE(file.name.toStdString());
        if (result.ok()) {
            EXPECT_LE(qint64(result.picture.image().width()) * result.picture.image().height(), 64'000'000);
            continue;
        }
        const QString head = QStringLiteral("「%1」を開けませんでした。\n").arg(file.name);
        ASSERT_TRUE(result.error.startsWith(head)) << result.error.toStdString();
        const QString reason = result.error.mid(head.size());
        EXPECT_TRUE(std::any_of(reasons.begin(), reasons.end(), [&](const QString& r) { return reason.startsWith(r); }))
            << reason.toStdString();
    }
}

} // namespace
