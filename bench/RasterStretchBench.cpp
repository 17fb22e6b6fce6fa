// Stretching a large loaded picture to the canvas, as every settled resize
// does: a 6000 x 4000 scan to the design canvas, a 1080p window's canvas and a
// maximised 4K window's. The baseline is a memcpy of the source pixels in the
// same run, the bytes the stretch must at least read.
#include "raster/Stretch.h"

#include "GraphPicture.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>

namespace {

constexpr int kSourceWidth = 6000;
constexpr int kSourceHeight = 4000;

const QImage& source()
{
    static const QImage picture = graphPicture(kSourceWidth, kSourceHeight);
    return picture;
}

void setBytes(benchmark::State& state)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSourceWidth * kSourceHeight * 4);
}

void BM_Stretch_memcpy(benchmark::State& state)
{
    QImage target(kSourceWidth, kSourceHeight, QImage::Format_RGB32);
    const std::size_t bytes = std::size_t(source().sizeInBytes());
    for (auto _ : state) {
        std::memcpy(target.bits(), source().constBits(), bytes);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

void BM_Stretch(benchmark::State& state)
{
    const QSize canvas(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QImage out = stretchImage(source(), canvas);
        benchmark::DoNotOptimize(out.constBits());
        benchmark::ClobberMemory();
    }
    setBytes(state);
}

} // namespace

BENCHMARK(BM_Stretch_memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
// Design canvas (6705 x 5025 twips), a 1080p window's, a maximised 4K window's.
BENCHMARK(BM_Stretch)->Args({447, 335})->Args({1580, 930})->Args({3500, 1990})->Unit(benchmark::kMillisecond)->UseRealTime();
