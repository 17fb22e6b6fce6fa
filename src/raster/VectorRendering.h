#pragma once
// How finely a metafile is rendered for measuring: four times the canvas, but
// no larger than an 8K picture. The one place that decides it, for the layout
// that asks ahead and for the commands that need it now.
#include <QSize>

#include <algorithm>
#include <cmath>

inline QSize vectorRenderingFor(QSize canvas)
{
    constexpr int kFineness = 4;
    constexpr double kMaxPixels = 7680.0 * 4320.0;
    QSize wanted = canvas * kFineness;
    const double shrink = std::sqrt(kMaxPixels / (double(wanted.width()) * wanted.height()));
    if (shrink < 1)
        wanted = QSize(std::max(1, int(wanted.width() * shrink)), std::max(1, int(wanted.height() * shrink)));
    return wanted;
}
