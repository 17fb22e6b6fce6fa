#include "raster/PixelBuffer.h"

#include <cstring>

void PixelBuffer::redim(int maxX, int maxY)
{
    maxX_ = maxX;
    maxY_ = maxY;
    data_.resize(static_cast<std::size_t>(maxX + 1) * static_cast<std::size_t>(maxY + 1));
    clearPending_ = true;
}

namespace {
bool fits(const QImage& image, const PixelBuffer& buffer)
{
    return !image.isNull() && buffer.maxX() >= image.width() && buffer.maxY() >= image.height()
        && (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32);
}
// The reserved byte is not part of the picture: the display is opaque, so
// every pixel written gets a full alpha byte. Buffer and image never overlap;
// saying so, four pixels at a time, lets the compiler use vector stores and
// keeps writing back as fast as a plain copy.
void copyRowOpaque(std::uint32_t* __restrict out, const std::uint32_t* __restrict in, int count)
{
    constexpr std::uint32_t kOpaque = 0xff000000u;
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        out[x] = in[x] | kOpaque;
        out[x + 1] = in[x + 1] | kOpaque;
        out[x + 2] = in[x + 2] | kOpaque;
        out[x + 3] = in[x + 3] | kOpaque;
    }
    for (; x < count; ++x)
        out[x] = in[x] | kOpaque;
}

} // namespace

std::int32_t ReadPixels(const QImage& image, PixelBuffer& buffer)
{
    if (!fits(image, buffer))
        return -1;
    const int w = image.width();
    const int h = image.height();
    // A buffer of exactly the picture's size is overwritten everywhere but in
    // row 0, so only that row needs the clearing that redim put off.
    Bgra* const base = buffer.data_.data();
    const std::size_t stride = static_cast<std::size_t>(buffer.maxX()) + 1;
    if (buffer.clearPending_ && buffer.maxX() == w && buffer.maxY() == h) {
        std::fill(base, base + stride, Bgra{0, 0, 0, 0});
        buffer.clearPending_ = false;
    }
    buffer.clearIfPending();
    // QImage's 32-bit formats store each pixel as the bytes blue, green, red,
    // alpha on little-endian machines: the buffer's own layout, so a row is one copy.
    for (int y = 1; y <= h; ++y) {
        Bgra* out = base + static_cast<std::size_t>(y) * stride;
        std::memcpy(out, image.constScanLine(y - 1), static_cast<std::size_t>(w) * sizeof(Bgra));
        // The spare column repeats the first pixel of the row above (zero for the top row).
        out[w] = y >= 2 ? base[static_cast<std::size_t>(y - 1) * stride] : Bgra{0, 0, 0, 0};
    }
    return 0;
}

std::int32_t WritePixels(QImage& image, const PixelBuffer& buffer)
{
    if (!fits(image, buffer))
        return -1;
    const int w = image.width();
    const int h = image.height();
    for (int y = 1; y <= h; ++y)
        copyRowOpaque(reinterpret_cast<std::uint32_t*>(image.scanLine(y - 1)),
            reinterpret_cast<const std::uint32_t*>(buffer.row(y)), w);
    return 0;
}
