#include "raster/Binarize.h"

#include "platform/Numeric.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// How many times the progress callback reports during one picture.
constexpr int kProgressSteps = 16;

// The values of one channel that pass its test form one closed interval: the
// low and high limits both grow with the pixel value (rounding never reverses
// that), so "curve value within [low, high]" holds for a contiguous run of
// pixel values. An empty run has first > last.
struct PassRange {
    std::uint32_t first = 1;
    std::uint32_t last = 0;
    bool empty() const { return first > last; }
};

template <typename Passes>
PassRange passRange(Passes passes)
{
    PassRange r;
    for (int v = 0; v <= 255; ++v) {
        if (!passes(v))
            continue;
        if (r.empty())
            r.first = std::uint32_t(v);
        r.last = std::uint32_t(v);
    }
    return r;
}

double toleranceOf(const BinarizeSettings& s)
{
    return double(s.tolerancePercent) * 255.0 / 100.0;
}

bool redOrGreenPasses(double t, int value, int selected)
{
    return value - t <= selected && selected <= value + t;
}

bool bluePasses(double t, int value, int selected)
{
    return value - t <= selected && selected <= roundHalfEven32(value + t);
}

// Pixels are little-endian 0xXXRRGGBB: blue, green, red, reserved in bytes
// 0..3. "first <= v <= last" is tested per byte as one unsigned comparison
// (v - first) <= (last - first), values below first wrapping round to large
// ones; the reserved byte gets the range 0..255 and always passes. `from`
// and `to` may be the same run; `reserved` is or-ed into the kept reserved byte.
void binarizeRun(const std::uint32_t* from, std::uint32_t* to, std::size_t count, PassRange red, PassRange green,
                 PassRange blue, std::uint32_t reserved)
{
    const std::uint32_t firsts = blue.first | (green.first << 8) | (red.first << 16);
    const std::uint32_t spans = (blue.last - blue.first) | ((green.last - green.first) << 8)
        | ((red.last - red.first) << 16) | 0xff000000u;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i first4 = _mm_set1_epi32(int(firsts));
    const __m128i span4 = _mm_set1_epi32(int(spans));
    const __m128i rgb4 = _mm_set1_epi32(0x00ffffff);
    const __m128i zero = _mm_setzero_si128();
    const __m128i allSet = _mm_set1_epi32(-1);
    const __m128i reserved4 = _mm_set1_epi32(int(reserved));
    for (; i + 4 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i offset = _mm_sub_epi8(v, first4);
        const __m128i bytePasses = _mm_cmpeq_epi8(_mm_subs_epu8(offset, span4), zero);
        const __m128i pixelMatches = _mm_cmpeq_epi32(bytePasses, allSet);
        // match -> black, otherwise white; the reserved byte comes from v.
        const __m128i out = _mm_or_si128(_mm_or_si128(_mm_andnot_si128(rgb4, v), reserved4),
                                         _mm_andnot_si128(pixelMatches, rgb4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), out);
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t v = from[i];
        bool match = true;
        for (int shift = 0; shift < 24; shift += 8)
            match = match && ((((v >> shift) - (firsts >> shift)) & 0xffu) <= ((spans >> shift) & 0xffu));
        to[i] = (v & 0xff000000u) | reserved | (match ? 0u : 0x00ffffffu);
    }
}

} // namespace

bool BinarizeMatches(const BinarizeSettings& settings, int red, int green, int blue)
{
    const double t = toleranceOf(settings);
    return redOrGreenPasses(t, red, settings.selRed()) && redOrGreenPasses(t, green, settings.selGreen())
        && bluePasses(t, blue, settings.selBlue());
}

void BinarizePixels(PixelBuffer& buffer, const BinarizeSettings& settings,
                    const std::function<void(int x)>& progress)
{
    const int maxX = buffer.maxX();
    const int maxY = buffer.maxY();
    if (buffer.empty() || maxX < 0 || maxY < 0)
        return;

    const double t = toleranceOf(settings);
    const PassRange red = passRange([&](int v) { return redOrGreenPasses(t, v, settings.selRed()); });
    const PassRange green = passRange([&](int v) { return redOrGreenPasses(t, v, settings.selGreen()); });
    const PassRange blue = passRange([&](int v) { return bluePasses(t, v, settings.selBlue()); });

    // The rule does not depend on the position, so any order gives the same
    // picture: the buffer is swept in storage order, as fast as memory allows,
    // in a few bands of rows. The progress bar counts columns; it is moved in
    // proportion to the work done after each band.
    const int rows = maxY + 1;
    const std::size_t rowLength = std::size_t(maxX) + 1;
    const bool nothingMatches = red.empty() || green.empty() || blue.empty();
    int reported = -1;
    for (int band = 0; band < kProgressSteps; ++band) {
        const int y0 = int(std::int64_t(rows) * band / kProgressSteps);
        const int y1 = int(std::int64_t(rows) * (band + 1) / kProgressSteps);
        if (y1 > y0) {
            auto* run = reinterpret_cast<std::uint32_t*>(buffer.row(y0));
            const std::size_t count = std::size_t(y1 - y0) * rowLength;
            if (nothingMatches) {
                for (std::size_t i = 0; i < count; ++i)
                    run[i] |= 0x00ffffffu;
            } else {
                binarizeRun(run, run, count, red, green, blue, 0);
            }
        }
        const int x = int(std::int64_t(maxX) * (band + 1) / kProgressSteps);
        if (progress && x > reported) {
            progress(x);
            reported = x;
        }
    }
}

bool BinarizeImage(QImage& image, const BinarizeSettings& settings, const std::function<void(int x)>& progress)
{
    const QImage::Format format = image.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32)
        return false;
    if (image.isNull())
        return true;
    const double t = toleranceOf(settings);
    const PassRange red = passRange([&](int v) { return redOrGreenPasses(t, v, settings.selRed()); });
    const PassRange green = passRange([&](int v) { return redOrGreenPasses(t, v, settings.selGreen()); });
    const PassRange blue = passRange([&](int v) { return bluePasses(t, v, settings.selBlue()); });

    // A picture that is shared (the undo history keeps the one before) is not
    // copied first only to be overwritten: the result goes to a new one, in
    // one sweep over the pixels.
    const bool inPlace = image.isDetached();
    QImage result = inPlace ? QImage() : QImage(image.size(), format);
    if (!inPlace && result.isNull())
        return false;
    const int w = image.width();
    const int h = image.height();
    int reported = -1;
    for (int band = 0; band < kProgressSteps; ++band) {
        const int y0 = int(std::int64_t(h) * band / kProgressSteps);
        const int y1 = int(std::int64_t(h) * (band + 1) / kProgressSteps);
        for (int y = y0; y < y1; ++y) {
            const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            auto* to = reinterpret_cast<std::uint32_t*>(inPlace ? image.scanLine(y) : result.scanLine(y));
            binarizeRun(from, to, std::size_t(w), red, green, blue, 0xff000000u);
        }
        const int x = int(std::int64_t(w) * (band + 1) / kProgressSteps);
        if (progress && x > reported) {
            progress(x);
            reported = x;
        }
    }
    if (!inPlace)
        image = result;
    return true;
}
