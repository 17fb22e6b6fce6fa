// The trace column loop over a 4K canvas, beside a plain copy of the same
// canvas bytes: the loop should cost less than one copy.
#include "raster/PixelBuffer.h"
#include "trace/TraceRun.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

int sineRow(int column)
{
    return 1080 + static_cast<int>(std::lround(600.0 * std::sin(column / 300.0)));
}

// A white canvas with a sine curve drawn 2 pixels thick, joined vertically so
// steep stretches stay continuous, as a plotted curve is.
const PixelBuffer& canvas()
{
    static const PixelBuffer buffer = [] {
        PixelBuffer b;
        b.redim(kWidth, kHeight);
        std::memset(static_cast<void*>(b.data()), 0xff,
                    std::size_t(kWidth + 1) * std::size_t(kHeight + 1) * sizeof(Bgra));
        int previous = sineRow(0);
        for (int x = 0; x < kWidth; ++x) {
            const int row = sineRow(x);
            const int top = std::min(row, previous);
            const int bottom = std::max(row, previous) + 1;
            for (int y = top; y <= bottom; ++y)
                b.at(x, y + 1) = Bgra{0, 0, 0, 0};
            previous = row;
        }
        return b;
    }();
    return buffer;
}

void BM_TraceRunAcross4K(benchmark::State& state)
{
    const PixelBuffer& b = canvas();
    const TraceSettings settings{5, 50};
    const int startX = 0;
    const int startY = sineRow(0) * 15;
    const int endX = (kWidth - 1) * 15;
    std::size_t points = 0;
    for (auto _ : state) {
        auto run = TraceRun(b, settings, startX, startY, endX, kHeight);
        points = run.size();
        benchmark::DoNotOptimize(run.data());
    }
    state.counters["points"] = double(points);
}
BENCHMARK(BM_TraceRunAcross4K)->Unit(benchmark::kMicrosecond);

void BM_TraceCanvasMemcpy(benchmark::State& state)
{
    const PixelBuffer& b = canvas();
    const std::size_t bytes = std::size_t(kWidth + 1) * std::size_t(kHeight + 1) * sizeof(Bgra);
    std::vector<unsigned char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), b.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(BM_TraceCanvasMemcpy)->Unit(benchmark::kMicrosecond);

} // namespace
