#include "raster/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

QImage noisePicture(int w, int h, unsigned seed, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    std::mt19937 gen(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xff000000u | (gen() & 0xffffffu));
    return image;
}

bool sameBgra(const Bgra& a, const Bgra& b) { return std::memcmp(&a, &b, sizeof(Bgra)) == 0; }
bool isZero(const Bgra& p) { return sameBgra(p, Bgra{0, 0, 0, 0}); }

// Sizes include a single pixel, single rows and columns, and odd widths.
class PixelBufferSizes : public ::testing::TestWithParam<QSize> {};

TEST_P(PixelBufferSizes, ReadMapsPictureRowsOneDownAndFillsTheSpares)
{
    const int w = GetParam().width();
    const int h = GetParam().height();
    const QImage image = noisePicture(w, h, 1);
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);

    for (int x = 0; x <= w; ++x)
        EXPECT_TRUE(isZero(buffer.at(x, 0))) << "spare row, column " << x;
    for (int y = 1; y <= h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y - 1);
            const Bgra& b = buffer.at(x, y);
            ASSERT_EQ(b.red, qRed(p));
            ASSERT_EQ(b.green, qGreen(p));
            ASSERT_EQ(b.blue, qBlue(p));
        }
    }
    EXPECT_TRUE(isZero(buffer.at(w, 1)));
    for (int y = 2; y <= h; ++y)
        EXPECT_TRUE(sameBgra(buffer.at(w, y), buffer.at(0, y - 1))) << "spare column, row " << y;
}

TEST_P(PixelBufferSizes, RoundTripLeavesThePictureUnchanged)
{
    const int w = GetParam().width();
    const int h = GetParam().height();
    QImage image = noisePicture(w, h, 2);
    const QImage before = image.copy();
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    ASSERT_EQ(WritePixels(image, buffer), 0);
    EXPECT_EQ(image, before);
}

TEST_P(PixelBufferSizes, SpareRowAndColumnNeverReachThePicture)
{
    const int w = GetParam().width();
    const int h = GetParam().height();
    QImage image = noisePicture(w, h, 3);
    const QImage before = image.copy();
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    for (int x = 0; x <= w; ++x)
        buffer.at(x, 0) = Bgra{1, 2, 3, 4};
    for (int y = 0; y <= h; ++y)
        buffer.at(w, y) = Bgra{9, 8, 7, 6};
    ASSERT_EQ(WritePixels(image, buffer), 0);
    EXPECT_EQ(image, before);
}

TEST_P(PixelBufferSizes, WriteCarriesEditsToTheRightPixelAndKeepsItOpaque)
{
    const int w = GetParam().width();
    const int h = GetParam().height();
    QImage image = noisePicture(w, h, 4);
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    // The reserved byte is whatever an editor left there; the picture stays opaque.
    buffer.at(w - 1, h) = Bgra{0x10, 0x20, 0x30, 0x00};
    ASSERT_EQ(WritePixels(image, buffer), 0);
    EXPECT_EQ(image.pixel(w - 1, h - 1), qRgb(0x30, 0x20, 0x10));
    EXPECT_EQ(qAlpha(image.pixel(w - 1, h - 1)), 255);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PixelBufferSizes,
    ::testing::Values(QSize(1, 1), QSize(1, 7), QSize(9, 1), QSize(13, 5), QSize(64, 48)),
    [](const auto& info) { return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height()); });

TEST(PixelBuffer, OnePixelPictureReadsIntoRowOne)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x11, 0x22, 0x33));
    PixelBuffer buffer;
    buffer.redim(1, 1);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    EXPECT_EQ(buffer.at(0, 1).red, 0x11);
    EXPECT_EQ(buffer.at(0, 1).green, 0x22);
    EXPECT_EQ(buffer.at(0, 1).blue, 0x33);
    EXPECT_TRUE(isZero(buffer.at(1, 1)));
    EXPECT_TRUE(isZero(buffer.at(0, 0)));
    EXPECT_TRUE(isZero(buffer.at(1, 0)));
}

// A buffer dimensioned for a larger picture still maps picture pixels to the
// same (column, row) and keeps the spare column at the picture's width.
TEST(PixelBuffer, LargerBufferKeepsTheMapping)
{
    const QImage image = noisePicture(5, 4, 5);
    PixelBuffer buffer;
    buffer.redim(8, 6);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    EXPECT_EQ(buffer.at(4, 4).red, qRed(image.pixel(4, 3)));
    EXPECT_TRUE(sameBgra(buffer.at(5, 3), buffer.at(0, 2)));
    EXPECT_TRUE(isZero(buffer.at(6, 3)));
    EXPECT_TRUE(isZero(buffer.at(0, 5)));
}

struct Mismatch {
    const char* name;
    int maxX;
    int maxY;
};

void PrintTo(const Mismatch& c, std::ostream* os) { *os << c.name; }

class PixelBufferTooSmall : public ::testing::TestWithParam<Mismatch> {};

TEST_P(PixelBufferTooSmall, RefusesAndLeavesBothUntouched)
{
    QImage image = noisePicture(10, 8, 6);
    const QImage before = image.copy();
    PixelBuffer buffer;
    buffer.redim(GetParam().maxX, GetParam().maxY);
    for (int y = 0; y <= buffer.maxY(); ++y)
        for (int x = 0; x <= buffer.maxX(); ++x)
            buffer.at(x, y) = Bgra{uint8_t(x), uint8_t(y), 0x5a, 0};

    EXPECT_EQ(ReadPixels(image, buffer), -1);
    EXPECT_EQ(WritePixels(image, buffer), -1);
    EXPECT_EQ(image, before);
    for (int y = 0; y <= buffer.maxY(); ++y)
        for (int x = 0; x <= buffer.maxX(); ++x)
            ASSERT_TRUE(sameBgra(buffer.at(x, y), Bgra{uint8_t(x), uint8_t(y), 0x5a, 0}));
}

INSTANTIATE_TEST_SUITE_P(Buffers, PixelBufferTooSmall,
    ::testing::Values(Mismatch{"NoSpareColumn", 9, 8}, Mismatch{"NoLastRow", 10, 7}, Mismatch{"Tiny", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PixelBuffer, NullPictureOrUndimensionedBufferIsRefused)
{
    PixelBuffer empty;
    QImage image = noisePicture(3, 3, 7);
    EXPECT_EQ(ReadPixels(image, empty), -1);
    EXPECT_EQ(WritePixels(image, empty), -1);
    PixelBuffer buffer;
    buffer.redim(3, 3);
    QImage null;
    EXPECT_EQ(ReadPixels(null, buffer), -1);
    EXPECT_EQ(WritePixels(null, buffer), -1);
}

} // namespace
