#include "RasterCompleteness.h"

#include <QtEndian>

#include <cstdlib>
#include <vector>

namespace {

class Bytes {
public:
    explicit Bytes(const QByteArray& b) : p_(reinterpret_cast<const uchar*>(b.constData())), n_(b.size()) {}
    bool has(qint64 at, qint64 count) const { return at >= 0 && count >= 0 && at <= n_ && count <= n_ - at; }
    uchar u8(qint64 at) const { return p_[at]; }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(p_ + at); }
    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(p_ + at); }
    qint64 size() const { return n_; }

private:
    const uchar* p_;
    qint64 n_;
};

// Run-length data has no fixed size: follow its codes until the end-of-bitmap
// code or the last row. A file that ends first was cut short.
bool rleComplete(const Bytes& b, qint64 at, qint64 height, bool fourBit)
{
    qint64 row = 0;
    while (row < height) {
        if (!b.has(at, 2))
            return false;
        const uchar count = b.u8(at), code = b.u8(at + 1);
        at += 2;
        if (count > 0)
            continue;  // a run of one colour
        if (code == 0) {
            ++row;  // end of line
        } else if (code == 1) {
            return true;  // end of bitmap: the rest is left blank on purpose
        } else if (code == 2) {
            if (!b.has(at, 2))
                return false;
            row += b.u8(at + 1);
            at += 2;
        } else {
            const qint64 bytes = fourBit ? (code + 1) / 2 : code;
            at += (bytes + 1) / 2 * 2;  // absolute runs are padded to whole words
        }
    }
    return true;
}

// Counts the pixels a GIF frame's compressed data really yields.
class LzwCounter {
public:
    explicit LzwCounter(int minCodeSize) : min_(minCodeSize) { reset(); }

    // Feeds one code; false when the stream is over (end code or a bad code).
    bool feed(int code)
    {
        const int clear = 1 << min_;
        if (code == clear) {
            reset();
            return true;
        }
        if (code == clear + 1)
            return false;
        qint64 length = 0;
        if (previousLength_ == 0) {
            if (code > clear)
                return false;
            length = 1;
        } else if (code < next_) {
            length = code < clear ? 1 : lengths_[code];
        } else if (code == next_) {
            length = previousLength_ + 1;
        } else {
            return false;
        }
        if (previousLength_ > 0 && next_ < 4096) {
            lengths_[next_++] = previousLength_ + 1;
            if (next_ == (1 << width_) && width_ < 12)
                ++width_;
        }
        previousLength_ = length;
        pixels += length;
        return true;
    }
    int width() const { return width_; }
    qint64 pixels = 0;

private:
    void reset()
    {
        width_ = min_ + 1;
        next_ = (1 << min_) + 2;
        previousLength_ = 0;
    }
    int min_;
    int width_ = 0;
    int next_ = 0;
    qint64 previousLength_ = 0;
    std::vector<qint64> lengths_ = std::vector<qint64>(4096, 0);
};

} // namespace

bool bmpPixelsComplete(const QByteArray& file)
{
    const Bytes b(file);
    if (!b.has(0, 26))
        return false;
    const qint64 offBits = b.u32(10);
    const quint32 infoSize = b.u32(14);
    qint64 width = 0, height = 0;
    quint32 bitCount = 0, compression = 0;
    if (infoSize == 12) {
        width = b.u16(18);
        height = b.u16(20);
        bitCount = b.u16(24);
    } else if (infoSize >= 40 && b.has(0, 34)) {
        width = qint32(b.u32(18));
        height = std::llabs(qint32(b.u32(22)));  // negative: rows stored top-down
        bitCount = b.u16(28);
        compression = b.u32(30);
    } else {
        return true;  // an unusual header: the decoder judges it
    }
    if (width <= 0 || height <= 0 || bitCount == 0 || bitCount > 32)
        return false;
    constexpr quint32 kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kRle8 || compression == kRle4)
        return rleComplete(b, offBits, height, compression == kRle4);
    if (compression != 0 && compression != kBitFields && compression != kAlphaBitFields)
        return true;
    const qint64 stride = (width * bitCount + 31) / 32 * 4;
    const qint64 room = b.size() - offBits;
    return room >= 0 && height <= room / stride;
}

bool gifPixelsComplete(const QByteArray& file)
{
    const Bytes b(file);
    if (!b.has(0, 13))
        return false;
    qint64 at = 13;
    if (b.u8(10) & 0x80)
        at += 3LL << ((b.u8(10) & 7) + 1);  // global colour table
    for (;;) {
        if (!b.has(at, 1))
            return false;
        const uchar introducer = b.u8(at);
        if (introducer == 0x21) {  // extension: label, then sub-blocks
            at += 2;
            while (b.has(at, 1) && b.u8(at) != 0)
                at += b.u8(at) + 1;
            ++at;
            continue;
        }
        if (introducer != 0x2C || !b.has(at, 11))
            return false;  // the trailer or noise before any frame
        const qint64 frameWidth = b.u16(at + 5), frameHeight = b.u16(at + 7);
        const uchar packed = b.u8(at + 9);
        at += 10;
        if (packed & 0x80)
            at += 3LL << ((packed & 7) + 1);  // local colour table
        if (!b.has(at, 1))
            return false;
        const int minCodeSize = b.u8(at++);
        if (minCodeSize < 1 || minCodeSize > 11)
            return false;
        LzwCounter lzw(minCodeSize);
        quint32 bits = 0;
        int bitCount = 0;
        const qint64 wanted = frameWidth * frameHeight;
        // Sub-blocks of compressed data, codes packed least significant bit first.
        while (b.has(at, 1) && b.u8(at) != 0) {
            const int length = b.u8(at++);
            if (!b.has(at, length))
                return false;
            for (int i = 0; i < length; ++i) {
                bits |= quint32(b.u8(at + i)) << bitCount;
                bitCount += 8;
                while (bitCount >= lzw.width()) {
                    const int code = int(bits & ((1u << lzw.width()) - 1));
                    bits >>= lzw.width();
                    bitCount -= lzw.width();
                    if (!lzw.feed(code))
                        return lzw.pixels >= wanted;
                }
            }
            at += length;
        }
        return lzw.pixels >= wanted;
    }
}
