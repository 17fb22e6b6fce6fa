// A batch over twenty scans of one layout (1600 x 1200) beside opening the same
// pictures alone, and a memcpy of their decoded bytes. The figure to watch is
// batch / opens: the batch's own work (clean-up, trace, writing) should add at
// most half again to the opens.
#include "batch/BatchRun.h"
#include "platform/picture/QtPictureLoader.h"
#include "session/ProjectFile.h"

#include "BenchApplication.h"
#include "GraphPicture.h"

#include <benchmark/benchmark.h>

#include <QDir>

#include <cstring>
#include <vector>

namespace {

constexpr int kPictures = 20;
const QSize kPicture(1600, 1200);
const QSize kCanvas(800, 600);

struct Series {
    QString project;
    QStringList pictures;
    QString out;
};

const Series& series()
{
    static const Series s = [] {
        ensureGuiApplication();
        Series out;
        const QString dir = QDir::tempPath() + QStringLiteral("/orvanta-bench/batch");
        QDir().mkpath(dir);
        const QImage picture = graphPicture(kPicture.width(), kPicture.height());
        for (int i = 0; i < kPictures; ++i) {
            out.pictures << dir + QStringLiteral("/scan%1.png").arg(i);
            if (!QFile::exists(out.pictures.back()))
                picture.save(out.pictures.back());
        }
        // Calibrated on the grid, binarised against the red curve, traced from
        // a tenth of the width to nine tenths.
        ProjectFile p;
        p.canvas = kCanvas;
        p.calibration.coordinatesSet = true;
        p.calibration.effectiveFigure = 4;
        p.calibration.refX1Pos = 80 * 15;
        p.calibration.refY1Pos = 540 * 15;
        p.calibration.refX2Pos = 720 * 15;
        p.calibration.refY2Pos = 60 * 15;
        p.calibration.x1Value = 0;
        p.calibration.x2Value = 8;
        p.calibration.y1Value = -1;
        p.calibration.y2Value = 1;
        TwipsRect& start = p.markers.lblStartPointC;
        start.left = 80 * 15 - start.width / 2;
        start.top = float(300 + 200 * std::sin(0.1 * 6.28)) * 15 - start.height / 2;
        p.markers.lblEndLine.left = 720 * 15 + p.markers.lblEndLine.width / 2;
        PictureEdit binarise;
        binarise.kind = PictureEdit::Kind::Binarise;
        binarise.canvas = kCanvas;
        binarise.binarise.curveColor = 0x1e1ec8;
        p.edits = {binarise};
        out.project = dir + QStringLiteral("/work.orvanta");
        writeFileAtomically(out.project, projectBytes(p));
        out.out = dir + QStringLiteral("/sheets");
        return out;
    }();
    return s;
}

void BM_OpenTwentyPictures(benchmark::State& state)
{
    const Series& s = series();
    QtPictureLoader loader;
    for (auto _ : state) {
        for (const QString& path : s.pictures) {
            const PictureLoadResult r = loader.load(path, kCanvas * 4);
            if (r.picture.image().size() != kPicture)
                state.SkipWithError("a picture did not open");
        }
    }
}

void BM_BatchOverTwentyPictures(benchmark::State& state)
{
    const Series& s = series();
    QtPictureLoader loader;
    qsizetype lines = 0;
    for (auto _ : state) {
        lines = 0;
        if (runBatch({s.project, s.pictures, s.out}, loader, [&](const QString&) { ++lines; }) != 0)
            state.SkipWithError("the batch failed");
    }
    state.counters["reported"] = double(lines);
}

void BM_MemcpyOfTwentyPictures(benchmark::State& state)
{
    const size_t n = size_t(kPictures) * kPicture.width() * kPicture.height() * 4;
    std::vector<char> from(n, 1), to(n);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), n);
        benchmark::DoNotOptimize(to.data());
    }
}

} // namespace

BENCHMARK(BM_OpenTwentyPictures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchOverTwentyPictures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyOfTwentyPictures)->Unit(benchmark::kMillisecond)->UseRealTime();
