// Opening a picture, file chosen to pixels ready at canvas size: through the
// decoding helper as the program does, and decoded in this process for
// comparison, each beside a memcpy of the decoded picture's bytes. The figure
// to watch is helper / in-process (target: at most 1.2 for the PNG).
#include "decoder/MetafileRenderer.h"
#include "decoder/RasterDecoder.h"
#include "platform/picture/QtPictureLoader.h"
#include "raster/Stretch.h"

#include "BenchApplication.h"
#include "GraphPicture.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstring>
#include <random>

namespace {

const QSize kCanvas(447, 335);

QByteArray le32(quint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

// A plotter's metafile of about 20 MB: the fixture's header and set-up
// records, then many short strokes (move, line) over the drawing.
QByteArray largeMetafile()
{
    QFile f(QStringLiteral(ORVANTA_FIXTURES "/plot.emf"));
    f.open(QIODevice::ReadOnly);
    const QByteArray emf = f.readAll();
    qsizetype eof = 0;
    for (qsizetype at = 0; at + 8 <= emf.size(); at += qFromLittleEndian<quint32>(emf.constData() + at + 4)) {
        if (qFromLittleEndian<quint32>(emf.constData() + at) == 14) {
            eof = at;
            break;
        }
    }
    QByteArray strokes;
    const int count = 20 * 1024 * 1024 / 32;
    strokes.reserve(count * 32);
    std::mt19937 rng(7);
    for (int i = 0; i < count; ++i) {
        const quint32 x = 600 + rng() % 3000, y = 400 + rng() % 2200;
        strokes += le32(27) + le32(16) + le32(x) + le32(y) + le32(54) + le32(16) + le32(x + rng() % 40) + le32(y + rng() % 40);
    }
    QByteArray out = emf.left(eof) + strokes + emf.mid(eof);
    qToLittleEndian<quint32>(quint32(out.size()), out.data() + 48);
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(out.constData() + 52) + 2 * count, out.data() + 52);
    return out;
}

struct Files {
    QString png, emf;
    QByteArray pngBytes, emfBytes;
};

const Files& files()
{
    static const Files f = [] {
        ensureGuiApplication();
        Files out;
        const QString dir = QDir::tempPath() + QStringLiteral("/orvanta-bench");
        QDir().mkpath(dir);
        out.png = dir + QStringLiteral("/scan.png");
        out.emf = dir + QStringLiteral("/plot-large.emf");
        if (!QFile::exists(out.png))
            graphPicture(6000, 4000).save(out.png);
        QFile emf(out.emf);
        if (emf.open(QIODevice::WriteOnly))
            emf.write(largeMetafile());
        emf.close();
        for (auto [path, bytes] : {std::pair{&out.png, &out.pngBytes}, std::pair{&out.emf, &out.emfBytes}}) {
            QFile file(*path);
            file.open(QIODevice::ReadOnly);
            *bytes = file.readAll();
        }
        return out;
    }();
    return f;
}

void report(benchmark::State& state, const QImage& canvas, qint64 pictureBytes)
{
    if (canvas.size() != kCanvas || pictureBytes == 0)
        state.SkipWithError("the picture did not open");
    state.counters["picture_MB"] = double(pictureBytes) / 1e6;
}

// The program's way: the helper decodes (or renders) the file.
void openThroughHelper(benchmark::State& state, const QString Files::*path)
{
    files();  // made before the clock starts, and the application with them
    QtPictureLoader loader;
    for (auto _ : state) {
        const PictureLoadResult r = loader.load(files().*path, kCanvas * 4);
        report(state, stretchImage(r.picture.image(), kCanvas), r.picture.image().sizeInBytes());
    }
}

void BM_OpenPng_Helper(benchmark::State& state) { openThroughHelper(state, &Files::png); }
void BM_OpenEmf_Helper(benchmark::State& state) { openThroughHelper(state, &Files::emf); }

void BM_OpenPng_InProcess(benchmark::State& state)
{
    files();
    for (auto _ : state) {
        QFile file(files().png);
        file.open(QIODevice::ReadOnly);
        const Picture picture = Picture::fromImage(decodeRaster(file.readAll()).image);
        report(state, stretchImage(picture.image(), kCanvas), picture.image().sizeInBytes());
    }
}

void BM_OpenEmf_InProcess(benchmark::State& state)
{
    files();
    for (auto _ : state) {
        QFile file(files().emf);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        const Picture picture = Picture::fromRendering(renderMetafile(bytes, kCanvas * 4).image, bytes, QSize());
        report(state, stretchImage(picture.image(), kCanvas), picture.image().sizeInBytes());
    }
}

// The same number of bytes as the decoded picture, copied once.
void BM_Memcpy(benchmark::State& state)
{
    const size_t n = size_t(state.range(0));
    std::vector<char> from(n, 1), to(n);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), n);
        benchmark::DoNotOptimize(to.data());
    }
}

} // namespace

BENCHMARK(BM_OpenPng_Helper)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenPng_InProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Memcpy)->Arg(6000 * 4000 * 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenEmf_Helper)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenEmf_InProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Memcpy)->Arg(447 * 4 * 335 * 4 * 4)->Unit(benchmark::kMillisecond)->UseRealTime();
