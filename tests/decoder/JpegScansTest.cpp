// Counting a JPEG's scans without decoding it: what the scan limit rests on.
#include "decoder/JpegScans.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

QByteArray jpeg(QImage::Format format, bool progressive)
{
    QImage image(64, 48, format);
    image.fill(Qt::white);
    for (int x = 0; x < 64; ++x)
        image.setPixel(x, x * 3 / 4, format == QImage::Format_Grayscale8 ? 0u : qRgb(200, 30, 30));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

TEST(JpegScans, CountsTheScansOfWhatEncodersWrite)
{
    // libjpeg's progression: ten scans for colour, six for grey.
    const QByteArray colour = jpeg(QImage::Format_RGB32, true);
    const struct { const char* what; QByteArray bytes; qint64 scans; } cases[] = {
        {"baseline", jpeg(QImage::Format_RGB32, false), 1},
        {"progressive colour", colour, 10},
        {"progressive grey", jpeg(QImage::Format_Grayscale8, true), 6},
        {"cut after half", colour.left(colour.size() / 2), -1},
        {"two pictures in one file", colour + colour, 10},
        {"not a JPEG", QByteArray(100, 'x'), 0},
    };
    for (const auto& c : cases) {
        const qint64 counted = jpegScanCount(c.bytes);
        if (c.scans < 0) {
            EXPECT_GE(counted, 1) << c.what;
            EXPECT_LT(counted, 10) << c.what;
        } else {
            EXPECT_EQ(counted, c.scans) << c.what;
        }
    }
}

} // namespace
