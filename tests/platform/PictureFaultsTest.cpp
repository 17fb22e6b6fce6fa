// Files that once crashed, froze or fooled the program, made by the corpus
// tool from the fixtures, and the whole damaged corpus: every file opens
// correctly or is refused with a clear message, within the loader's limits.
#include "FuzzCorpus.h"

#include "platform/picture/QtPictureLoader.h"
#include "raster/Stretch.h"

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
    const auto side = [](int w, int h) { return QStringLiteral("画像の幅か高さが 65535 ピクセルを超えています（%1×%2 ピクセル）。").arg(w).arg(h); };
    std::map<QString, Expected> expected = {
        // Limits no graph reaches, each checked before decoding and named as
        // the reason.
        {"rle 16x16000000.bmp", {{}, side(16, 16'000'000)}},
        {"rle 1x268000000.bmp", {{}, side(1, 268'000'000)}},
        {"bilevel 40x10000000.tif", {{}, side(40, 10'000'000)}},
        {"strip 30000x20.png", {{}, QStringLiteral("画像の縦横比が 1:1000 を超えています（30000×20 ピクセル）。")}},
        {"progressive 3000 scans.jpg", {{}, QStringLiteral("JPEG のスキャンが多すぎます（3000 回、上限 100 回）。")}},
        {"progressive 20000 scans.jpg", {{}, QStringLiteral("JPEG のスキャンが多すぎます（20000 回、上限 100 回）。")}},
        {"texts 50000.wmf", {{}, QStringLiteral("メタファイルの文字列が多すぎます（50000 個、上限 5000 個）。")}},
        {"polyline 600000.emf", {{}, QStringLiteral("メタファイルのレコードが多すぎます（600306 個、上限 500000 個）。")}},
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

// The named files, or the largest pictures the limits let through.
void checkNamed(bool largest)
{
    std::map<QString, Expected> expected = largest
        ? std::map<QString, Expected>{{"strip 20000x20000.png", {{20'000, 20'000}, {}}}, {"strip 65535x66.png", {{65'535, 66}, {}}}}
        : namedExpectations();
    QTemporaryDir dir;
    QtPictureLoader loader;
    int checked = 0;
    for (const CorpusFile& file : largest ? largestPictures() : namedPictures(QStringLiteral(ORVANTA_FIXTURES))) {
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
        const QImage canvas = stretchImage(result.picture.image(), kCanvas);
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
TEST(NamedFaults, PicturesAtTheLimitsStillOpen) { checkNamed(true); }

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
        QStringLiteral("画像を読み込むためのメモリが足りません。"), QStringLiteral("画像の幅か高さが 65535 ピクセルを超えています"),
        QStringLiteral("画像の縦横比が 1:1000 を超えています"), QStringLiteral("JPEG のスキャンが多すぎます"),
        QStringLiteral("メタファイルの文字列が多すぎます"), QStringLiteral("メタファイルのレコードが多すぎます")};
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
