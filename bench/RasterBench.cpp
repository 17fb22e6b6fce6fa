// Whole-picture raster operations as the commands run them: dimension the
// buffer, read the canvas, change every pixel, write it back. Each is measured
// beside a plain memcpy of the canvas bytes in the same run; the ratio of the
// two is the figure to watch, not the absolute time.
#include "raster/AutoErase.h"
#include "raster/Binarize.h"
#include "raster/PixelBuffer.h"

#include "GraphPicture.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

void setBytes(benchmark::State& state, int w, int h)
{
    state.SetBytesProcessed(std::int64_t(state.iterations()) * w * h * 4);
}

void BM_Memcpy(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage source = graphPicture(w, h);
    QImage target(w, h, QImage::Format_RGB32);
    const std::size_t bytes = std::size_t(source.sizeInBytes());
    for (auto _ : state) {
        std::memcpy(target.bits(), source.constBits(), bytes);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    setBytes(state, w, h);
}

// The source stays untouched so that every iteration does the same work; the
// result goes to a second canvas of the same size.
template <typename Change>
void wholeOperation(benchmark::State& state, Change change)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage source = graphPicture(w, h);
    QImage target(w, h, QImage::Format_RGB32);
    target.fill(Qt::white);
    PixelBuffer buffer;
    for (auto _ : state) {
        buffer.redim(w, h);
        ReadPixels(source, buffer);
        change(buffer, w, h);
        WritePixels(target, buffer);
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    setBytes(state, w, h);
}

// Dimension, read and write back with no change in between: the part of each
// whole operation that the change itself cannot make any faster.
void BM_Transfer(benchmark::State& state)
{
    wholeOperation(state, [](PixelBuffer&, int, int) {});
}

void BM_Binarize(benchmark::State& state)
{
    BinarizeSettings settings;
    settings.curveColor = 0x001e1ec8u; // the curve's red
    settings.tolerancePercent = 30;
    int lastColumn = 0;
    wholeOperation(state, [&](PixelBuffer& b, int, int) {
        BinarizePixels(b, settings, [&](int x) { lastColumn = x; });
    });
    benchmark::DoNotOptimize(lastColumn);
}

// The command's way: straight on the canvas picture, which the undo history
// shares, so the result is written to a new picture in one sweep.
void BM_BinarizeCanvas(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    const QImage source = graphPicture(w, h);
    BinarizeSettings settings;
    settings.curveColor = 0x001e1ec8u;
    settings.tolerancePercent = 30;
    for (auto _ : state) {
        QImage canvas = source;
        BinarizeImage(canvas, settings, [](int) {});
        benchmark::DoNotOptimize(canvas.constBits());
        benchmark::ClobberMemory();
    }
    setBytes(state, w, h);
}

// The pass alone, on a buffer already read: the rule works the same on its own
// output, so every iteration does the same work.
void BM_BinarizePass(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    PixelBuffer buffer;
    buffer.redim(w, h);
    ReadPixels(graphPicture(w, h), buffer);
    BinarizeSettings settings;
    settings.curveColor = 0x001e1ec8u;
    settings.tolerancePercent = 30;
    for (auto _ : state) {
        BinarizePixels(buffer, settings);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    setBytes(state, w, h);
}

void BM_AutoErase(benchmark::State& state)
{
    wholeOperation(state, [](PixelBuffer& b, int, int) { AutoErasePixels(b); });
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

// Each operation's baseline carries its name so that a filter on the operation
// keeps the baseline in the same run.
BENCHMARK(BM_Memcpy)->Name("BM_Binarize_memcpy")->Apply(sizes);
BENCHMARK(BM_Transfer)->Name("BM_Binarize_transferOnly")->Apply(sizes);
BENCHMARK(BM_Binarize)->Apply(sizes);
BENCHMARK(BM_BinarizePass)->Name("BM_Binarize_passOnly")->Apply(sizes);
BENCHMARK(BM_BinarizeCanvas)->Name("BM_Binarize_onCanvas")->Apply(sizes);
BENCHMARK(BM_Memcpy)->Name("BM_AutoErase_memcpy")->Apply(sizes);
BENCHMARK(BM_Transfer)->Name("BM_AutoErase_transferOnly")->Apply(sizes);
BENCHMARK(BM_AutoErase)->Apply(sizes);
