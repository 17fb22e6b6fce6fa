// Whole-picture transfers between a canvas image and the pixel buffer, each
// beside a plain memcpy of the same number of bytes: the ratio of the two is
// the figure that matters, not the absolute time.
#include "raster/PixelBuffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = 0xff000000u | static_cast<quint32>((x * 7 + y * 13) & 0xffffff);
    }
    return image;
}

std::int64_t pictureBytes(const benchmark::State& state) { return state.range(0) * state.range(1) * 4; }

void BM_ReadPixels(benchmark::State& state)
{
    const QImage image = canvas(int(state.range(0)), int(state.range(1)));
    PixelBuffer buffer;
    buffer.redim(image.width(), image.height());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadPixels(image, buffer));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes(state));
}

void BM_WritePixels(benchmark::State& state)
{
    QImage image = canvas(int(state.range(0)), int(state.range(1)));
    PixelBuffer buffer;
    buffer.redim(image.width(), image.height());
    ReadPixels(image, buffer);
    for (auto _ : state) {
        benchmark::DoNotOptimize(WritePixels(image, buffer));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes(state));
}

void BM_PixelMemcpy(benchmark::State& state)
{
    const auto bytes = static_cast<std::size_t>(pictureBytes(state));
    std::vector<unsigned char> from(bytes, 0x5a);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * pictureBytes(state));
}

void pictureSizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"w", "h"})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_PixelMemcpy)->Apply(pictureSizes);
BENCHMARK(BM_ReadPixels)->Apply(pictureSizes);
BENCHMARK(BM_WritePixels)->Apply(pictureSizes);
