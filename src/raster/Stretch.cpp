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
    QImage src = source.format() == QImage::Format_RGB32 ? source
                                                          : source.convertToFormat(QImage::Format_RGB32);
    if (src.isNull() || src.width() <= 0 || src.height() <= 0) {
        QImage blank(size, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    if (src.size() == size)
        return src.copy();

    const auto xs = spans(src.width(), size.width());
    const auto ys = spans(src.height(), size.height());

    // Horizontal pass into a temporary of destination width, source height;
    // the minimum is separable, so a vertical pass over it finishes the job.
    std::vector<quint32> rows(static_cast<size_t>(size.width()) * static_cast<size_t>(src.height()));
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(src.constScanLine(y));
        quint32* out = rows.data() + static_cast<size_t>(y) * static_cast<size_t>(size.width());
        for (int d = 0; d < size.width(); ++d) {
            const Span s = xs[static_cast<size_t>(d)];
            quint32 v = line[s.first] | 0xff000000u;
            for (int x = s.first + 1; x < s.last; ++x)
                v = darker(v, line[x]);
            out[d] = v;
        }
    }

    QImage dst(size, QImage::Format_RGB32);
    for (int d = 0; d < size.height(); ++d) {
        const Span s = ys[static_cast<size_t>(d)];
        auto* out = reinterpret_cast<quint32*>(dst.scanLine(d));
        const quint32* first = rows.data() + static_cast<size_t>(s.first) * static_cast<size_t>(size.width());
        std::copy(first, first + size.width(), out);
        for (int y = s.first + 1; y < s.last; ++y) {
            const quint32* line = rows.data() + static_cast<size_t>(y) * static_cast<size_t>(size.width());
            for (int x = 0; x < size.width(); ++x)
                out[x] = darker(out[x], line[x]);
        }
    }
    return dst;
}
