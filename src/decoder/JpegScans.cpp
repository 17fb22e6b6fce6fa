#include "JpegScans.h"

#include <cstring>

namespace {

constexpr unsigned char kStartOfScan = 0xda;
constexpr unsigned char kEndOfImage = 0xd9;

bool standsAlone(unsigned char marker)
{
    // Start of image, restarts and the temporary marker carry no length.
    return marker == 0xd8 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7);
}

} // namespace

qint64 jpegScanCount(const QByteArray& file)
{
    const auto* p = reinterpret_cast<const unsigned char*>(file.constData());
    const qsizetype n = file.size();
    qint64 scans = 0;
    qsizetype at = 0;
    while (at + 1 < n) {
        if (p[at] != 0xff) {
            ++at;  // stray bytes between segments: the decoder skips them too
            continue;
        }
        const unsigned char marker = p[at + 1];
        if (marker == 0xff) {
            ++at;  // fill byte
            continue;
        }
        at += 2;
        if (marker == kEndOfImage)
            break;
        if (standsAlone(marker))
            continue;
        if (at + 2 > n)
            break;
        at += (p[at] << 8) | p[at + 1];
        if (marker != kStartOfScan)
            continue;
        ++scans;
        // The coded data runs to the next marker; 0xff 0x00 is a stuffed
        // data byte and restarts belong to the scan.
        while (at < n) {
            const void* ff = std::memchr(p + at, 0xff, size_t(n - at));
            if (!ff)
                return scans;
            at = static_cast<const unsigned char*>(ff) - p;
            if (at + 1 >= n)
                return scans;
            const unsigned char next = p[at + 1];
            if (next == 0x00 || (next >= 0xd0 && next <= 0xd7) || next == 0xff) {
                at += next == 0xff ? 1 : 2;
                continue;
            }
            break;
        }
    }
    return scans;
}
