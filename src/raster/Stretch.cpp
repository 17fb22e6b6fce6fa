#include "raster/Stretch.h"

#include <algorithm>
#include <vector>

namespace {

// Source index range [first, last) that destination index d draws from along one axis.
struct Span { int first; int last; };

std::vector<Span> spans(int sourceLength, int destLength)
{
    std::vector<Span> out(static_cast<size_t>(destLength));
    for (int d = 0; d < destLength; ++d) {
        if (destLength > sourceLength) {
            // Enlarging: one source pixel, the one under the destination pixel's
            // centre. Taking the darkest of two neighbours here would invent
            // colours (red beside blue gives black) that the picture never had.
            const long long centre = (2LL * d + 1) * sourceLength / (2LL * destLength);
            const int s = static_cast<int>(std::min<long long>(centre, sourceLength - 1));
            out[static_cast<size_t>(d)] = {s, s + 1};
            continue;
        }
        // Shrinking: every source pixel the destination pixel overlaps, even partly.
        const long long a = static_cast<long long>(d) * sourceLength;
        const long long b = static_cast<long long>(d + 1) * sourceLength;
        int first = static_cast<int>(a / destLength);
        int last = static_cast<int>((b + destLength - 1) / destLength);
        first = std::clamp(first, 0, sourceLength - 1);
        last = std::clamp(last, first + 1, sourceLength);
        out[static_cast<size_t>(d)] = {first, last};
    }
    return out;
}

inline quint32 darker(quint32 a, quint32 b)
{
    const quint32 r = std::min(a & 0x00ff0000u, b & 0x00ff0000u);
    const quint32 g = std::min(a & 0x0000ff00u, b & 0x0000ff00u);
    const quint32 bl = std::min(a & 0x000000ffu, b & 0x000000ffu);
    return 0xff000000u | r | g | bl;
}

} // namespace

QImage stretchImage(const QImage& source, QSize size)
{
    if (size.isEmpty())
        return QImage();
    QImage dst(size, QImage::Format_RGB32);
    if (dst.isNull())
        return dst;
    if (source.isNull()) {
        dst.fill(Qt::white);
        return dst;
    }
    // Opaque RGB32 comes straight from the loader; anything else is converted
    // once (snapshots and pictures made in tests are small).
    const QImage src = source.format() == QImage::Format_RGB32 ? source
                                                                : source.convertToFormat(QImage::Format_RGB32);
    if (src.isNull())
        return QImage();

    const auto xs = spans(src.width(), size.width());
    const auto ys = spans(src.height(), size.height());
    // Row by row: the minimum is separable, so each destination row is the
    // darkest of its source rows, each reduced across first. Beyond the two
    // images only one row is ever held, whatever the picture's height.
    std::vector<quint32> reduced(static_cast<size_t>(size.width()));
    for (int d = 0; d < size.height(); ++d) {
        const Span rows = ys[static_cast<size_t>(d)];
        auto* out = reinterpret_cast<quint32*>(dst.scanLine(d));
        if (d > 0 && rows.first == ys[static_cast<size_t>(d - 1)].first && rows.last == ys[static_cast<size_t>(d - 1)].last) {
            std::copy_n(reinterpret_cast<const quint32*>(dst.constScanLine(d - 1)), size.width(), out);
            continue;  // enlarging repeats the row above
        }
        for (int y = rows.first; y < rows.last; ++y) {
            const auto* line = reinterpret_cast<const quint32*>(src.constScanLine(y));
            quint32* target = y == rows.first ? out : reduced.data();
            for (int x = 0; x < size.width(); ++x) {
                const Span s = xs[static_cast<size_t>(x)];
                quint32 v = line[s.first] | 0xff000000u;
                for (int i = s.first + 1; i < s.last; ++i)
                    v = darker(v, line[i]);
                target[x] = v;
            }
            if (y != rows.first) {
                for (int x = 0; x < size.width(); ++x)
                    out[x] = darker(out[x], reduced[static_cast<size_t>(x)]);
            }
        }
    }
    return dst;
}
