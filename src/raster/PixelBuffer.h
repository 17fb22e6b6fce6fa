#pragma once
// The one program-wide array of 4-byte pixels (blue, green, red, reserved),
// indexed (column, row) with the column varying fastest. A buffer for a picture
// W x H pixels spans columns 0..W and rows 0..H inclusive: row 0 is a spare row
// and column W a spare column, and buffer row y holds picture row y - 1.
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <vector>

struct Bgra {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t reserved;
};
static_assert(sizeof(Bgra) == 4);

class PixelBuffer {
public:
    PixelBuffer() = default;
    // Dimensions the buffer to columns 0..maxX and rows 0..maxY, all zero;
    // the previous contents are discarded. The memory is kept from one use to
    // the next and cleared only when first looked at, so a buffer that
    // ReadPixels fills completely is never cleared twice.
    void redim(int maxX, int maxY);

    int maxX() const { return maxX_; }
    int maxY() const { return maxY_; }
    bool empty() const { return data_.empty(); }

    Bgra& at(int x, int y) { return data()[index(x, y)]; }
    const Bgra& at(int x, int y) const { return data()[index(x, y)]; }

    // Row y as a contiguous run of maxX + 1 elements.
    Bgra* row(int y) { return data() + index(0, y); }
    const Bgra* row(int y) const { return data() + index(0, y); }

    Bgra* data()
    {
        clearIfPending();
        return data_.data();
    }
    const Bgra* data() const
    {
        clearIfPending();
        return data_.data();
    }

private:
    friend std::int32_t ReadPixels(const QImage& image, PixelBuffer& buffer);

    std::size_t index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(maxX_ + 1) + static_cast<std::size_t>(x);
    }
    void clearIfPending() const
    {
        if (clearPending_) {
            std::fill(data_.begin(), data_.end(), Bgra{0, 0, 0, 0});
            clearPending_ = false;
        }
    }
    int maxX_ = -1;
    int maxY_ = -1;
    // The contents are logically zero; mutable because clearing on first read
    // does not change what the buffer holds.
    mutable std::vector<Bgra> data_;
    mutable bool clearPending_ = false;
};

// Copies every pixel of `image` into the buffer. Returns 0, or -1 when the
// buffer is smaller than the picture or the picture is empty; the buffer is then
// left as it was.
std::int32_t ReadPixels(const QImage& image, PixelBuffer& buffer);

// Copies the buffer back into `image` (row 0 and column W never reach it).
// Returns 0, or -1 when the buffer is smaller than the picture; the picture then
// keeps its old pixels.
std::int32_t WritePixels(QImage& image, const PixelBuffer& buffer);
