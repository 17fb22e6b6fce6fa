// The trace column loop over a 4K canvas, beside a plain copy of the same
// canvas bytes: the loop should cost less than one copy. And a whole run with
// every point measured on an 8K picture, plain and on a dense grid, beside a
// copy of that picture.
#include "raster/PixelBuffer.h"
#include "raster/Stretch.h"
#include "trace/RefineTracePoint.h"
#include "trace/TraceRun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

constexpr int kPictureWidth = 7680;
constexpr int kPictureHeight = 4320;

double pictureCurve(double x)
{
    return kPictureHeight / 2.0 + 1200.0 * std::sin(x / 600.0);
}

// An 8K picture of a sine 3 pixels thick with anti-aliased edges, as a
// plotting program draws it; steep stretches are joined vertically.
const QImage& bigPicture()
{
    static const QImage image = [] {
        QImage img(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
        img.fill(0xffffffffu);
        for (int x = 0; x < kPictureWidth; ++x) {
            const double a = pictureCurve(x), b = pictureCurve(x + 1);
            const double top = std::min(a, b) - 1.5, bottom = std::max(a, b) + 1.5;
            for (int y = std::max(0, int(top)); y <= std::min(kPictureHeight - 1, int(bottom)); ++y) {
                const double cover = std::clamp(std::min(y + 1.0, bottom) - std::max(double(y), top), 0.0, 1.0);
                const int v = int(std::lround(255 * (1 - cover)));
                img.setPixel(x, y, qRgb(v, v, v));
            }
        }
        return img;
    }();
    return image;
}

// The 4K canvas showing a picture, as the window stretches it.
PixelBuffer canvasShowing(const QImage& picture)
{
    PixelBuffer b;
    b.redim(kWidth, kHeight);
    ReadPixels(stretchImage(picture, QSize(kWidth, kHeight)), b);
    return b;
}

// A whole run over a picture's canvas with every point measured on the
// picture: the counters say how many points were measured rather than kept
// at their canvas row, guessed, more than two canvas pixels off the curve,
// and whether the curve was lost.
void refinedRun(benchmark::State& state, const QImage& picture, const PixelBuffer& canvas, int startX)
{
    const TraceSettings settings{1, 50};
    TraceEvidence evidence{picture, &canvas, CanvasPictureMapping(QSize(kWidth, kHeight), picture.size()),
                           CurveInk::dark(), settings.range};
    const int startY = int(std::lround(evidence.mapping.y().toTwips(pictureCurve(evidence.mapping.x().toPicture(startX)))));
    const int endX = (kWidth - 2) * 15;
    TraceOutcome run;
    for (auto _ : state) {
        run = FollowCurve(canvas, settings, startX, startY, endX, kHeight);
        RefineTracePoints(evidence, run.points);
        benchmark::DoNotOptimize(run.points.data());
    }
    const std::vector<TracePoint>& points = run.points;
    state.counters["points"] = double(points.size());
    state.counters["measured"] = double(
        std::count_if(points.begin(), points.end(), [](const TracePoint& p) { return std::fmod(p.yt, 15.0f) != 0; }));
    state.counters["guessed"] = double(run.unsureCount());
    state.counters["off"] = double(std::count_if(points.begin(), points.end(), [&](const TracePoint& p) {
        return std::abs(evidence.mapping.y().toPicture(p.yt) - pictureCurve(evidence.mapping.x().toPicture(p.xt))) > 4;
    }));
    state.counters["lost"] = run.lost ? 1 : 0;
}

void BM_TraceRunRefinedOver8K(benchmark::State& state)
{
    static const PixelBuffer canvas = canvasShowing(bigPicture());
    refinedRun(state, bigPicture(), canvas, 15);
}
BENCHMARK(BM_TraceRunRefinedOver8K)->Unit(benchmark::kMicrosecond);

// The same picture on a dense dark grid (a line every 60 pixels both ways,
// 2 pixels wide), and its 4K canvas: the walk holds the curve through every
// crossing and the refinement measures around each.
const QImage& gridPicture()
{
    static const QImage image = [] {
        QImage img = bigPicture().copy();
        for (int y = 0; y < kPictureHeight; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < kPictureWidth; ++x)
                if (x % 60 < 2 || y % 60 < 2)
                    row[x] = qRgb(std::min(qRed(row[x]), 48), std::min(qGreen(row[x]), 48), std::min(qBlue(row[x]), 48));
        }
        return img;
    }();
    return image;
}

const PixelBuffer& gridCanvas()
{
    static const PixelBuffer canvas = canvasShowing(gridPicture());
    return canvas;
}

void BM_TraceRunRefinedOver8KDenseGrid(benchmark::State& state)
{
    refinedRun(state, gridPicture(), gridCanvas(), 15 * 45); // off the first grid line
}
BENCHMARK(BM_TraceRunRefinedOver8KDenseGrid)->Unit(benchmark::kMicrosecond);

// The walk alone over that canvas, beside BM_TraceCanvasMemcpy.
void BM_FollowCurveAcross4KDenseGrid(benchmark::State& state)
{
    const PixelBuffer& b = gridCanvas();
    const CanvasPictureMapping mapping(QSize(kWidth, kHeight), gridPicture().size());
    const int startX = 15 * 45;
    const int startY = int(std::lround(mapping.y().toTwips(pictureCurve(mapping.x().toPicture(startX)))));
    std::size_t points = 0;
    for (auto _ : state) {
        const TraceOutcome run = FollowCurve(b, {1, 50}, startX, startY, (kWidth - 2) * 15, kHeight);
        points = run.points.size();
        benchmark::DoNotOptimize(run.points.data());
    }
    state.counters["points"] = double(points);
}
BENCHMARK(BM_FollowCurveAcross4KDenseGrid)->Unit(benchmark::kMicrosecond);

void BM_TracePictureMemcpy8K(benchmark::State& state)
{
    const QImage& picture = bigPicture();
    const std::size_t bytes = std::size_t(picture.sizeInBytes());
    std::vector<unsigned char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), picture.constBits(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(BM_TracePictureMemcpy8K)->Unit(benchmark::kMicrosecond);

} // namespace
