#pragma once
// The picture the benchmarks work on, as a scanner or plotter gives it.
#include <QImage>

#include <algorithm>
#include <cmath>
#include <random>

// A plotted graph: white, a frame and grid of dark lines, a coloured curve and
// some light noise, so that every operation takes its usual paths and a
// compressed file is as hard to decode as a scan.
inline QImage graphPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> noise(230, 255);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int v = noise(rng);
            line[x] = qRgb(v, v, v);
        }
    }
    for (int k = 1; k < 10; ++k) {
        const int gy = h * k / 10, gx = w * k / 10;
        for (int x = 0; x < w; ++x)
            image.setPixel(x, gy, qRgb(40, 40, 40));
        for (int y = 0; y < h; ++y)
            image.setPixel(gx, y, qRgb(40, 40, 40));
    }
    for (int x = 0; x < w; ++x) {
        const int y = int(h / 2 + (h / 3) * std::sin(x * 6.28 / w));
        for (int t = -1; t <= 1; ++t)
            image.setPixel(x, std::clamp(y + t, 0, h - 1), qRgb(200, 30, 30));
    }
    return image;
}
