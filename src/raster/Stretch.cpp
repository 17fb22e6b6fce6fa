#include "raster/Stretch.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

constexpr quint32 kOpaque = 0xff000000u;

// The per-channel minimum of two pixels is their bytewise minimum; the alpha
// byte is set afterwards, so taking its minimum too changes nothing.
inline quint32 darker(quint32 a, quint32 b)
{
    quint32 out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::min(a & (0xffu << shift), b & (0xffu << shift));
    return out;
}

// out[x] = min(out[x], in[x]) over a row: the vertical half of the shrink.
void darkenRow(quint32* __restrict out, const quint32* __restrict in, int count)
{
    int x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= count; x += 4) {
        auto* o = reinterpret_cast<__m128i*>(out + x);
        _mm_storeu_si128(o, _mm_min_epu8(_mm_loadu_si128(o), _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x))));
    }
#endif
    for (; x < count; ++x)
        out[x] = darker(out[x], in[x]);
}

void darkestOfTwoRows(quint32* __restrict out, const quint32* a, const quint32* b, int count)
{
    int x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= count; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                         _mm_min_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)),
                                      _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x))));
#endif
    for (; x < count; ++x)
        out[x] = darker(a[x], b[x]);
}

// The darkest pixel of line[first, last). Taking a minimum twice changes
// nothing, so the last block of four may overlap the one before it and every
// load stays inside the span.
inline quint32 darkestOf(const quint32* line, int first, int last)
{
    const int n = last - first;
    const quint32* p = line + first;
#if defined(__SSE2__)
    if (n >= 2) {
        __m128i m;
        if (n >= 4) {
            m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            int i = 4;
            for (; i + 4 <= n; i += 4)
                m = _mm_min_epu8(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
            if (i < n)
                m = _mm_min_epu8(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 4)));
            m = _mm_min_epu8(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(3, 2, 3, 2)));
        } else {
            m = _mm_min_epu8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + n - 2)));
        }
        m = _mm_min_epu8(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 1, 1, 1)));
        return quint32(_mm_cvtsi128_si32(m)) | kOpaque;
    }
    return p[0] | kOpaque;
#else
    quint32 v = p[0];
    for (int i = 1; i < n; ++i)
        v = darker(v, p[i]);
    return v | kOpaque;
#endif
}

void reduceAcross(quint32* __restrict out, const quint32* line, const std::vector<Span>& xs)
{
    const int w = int(xs.size());
    for (int x = 0; x < w; ++x)
        out[x] = darkestOf(line, xs[size_t(x)].first, xs[size_t(x)].last);
}

// Rows handed to one worker: enough to keep the hand-over cheap, few enough
// that both cores finish together.
struct Band { int first; int last; };

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
    const int sw = src.width();
    const int dw = size.width();
    const uchar* srcBits = src.constBits();
    const qsizetype srcStride = src.bytesPerLine();
    uchar* dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    const auto sourceRow = [&](int y) { return reinterpret_cast<const quint32*>(srcBits + y * srcStride); };
    const auto destRow = [&](int y) { return reinterpret_cast<quint32*>(dstBits + y * dstStride); };

    // The minimum is separable: each destination row is its source rows
    // reduced to one (down), then that row reduced across. Memory is read once
    // in storage order and each worker holds one source row beyond the images.
    const auto stretchBand = [&](const Band& band) {
        std::vector<quint32> reduced;
        for (int d = band.first; d < band.last; ++d) {
            const Span rows = ys[size_t(d)];
            quint32* out = destRow(d);
            if (d > band.first && rows.first == ys[size_t(d - 1)].first && rows.last == ys[size_t(d - 1)].last) {
                std::copy_n(destRow(d - 1), dw, out);
                continue;  // enlarging repeats the row above
            }
            const quint32* line = sourceRow(rows.first);
            if (rows.last - rows.first > 1) {
                reduced.resize(size_t(sw));
                darkestOfTwoRows(reduced.data(), line, sourceRow(rows.first + 1), sw);
                for (int y = rows.first + 2; y < rows.last; ++y)
                    darkenRow(reduced.data(), sourceRow(y), sw);
                line = reduced.data();
            }
            reduceAcross(out, line, xs);
        }
    };

    // A small picture is not worth waking the other cores for.
    const qint64 work = qint64(src.width()) * src.height() + qint64(dw) * size.height();
    if (work < 1'000'000) {
        stretchBand({0, size.height()});
        return dst;
    }
    constexpr int kBandsPerCore = 4;
    const int bandCount = std::min(size.height(), std::max(1, QThreadPool::globalInstance()->maxThreadCount()) * kBandsPerCore);
    std::vector<Band> bands;
    for (int i = 0; i < bandCount; ++i)
        bands.push_back({int(qint64(size.height()) * i / bandCount), int(qint64(size.height()) * (i + 1) / bandCount)});
    QtConcurrent::blockingMap(bands, stretchBand);
    return dst;
}
