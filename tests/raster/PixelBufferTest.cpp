#include "raster/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

QImage noisePicture(int w, int h, unsigned seed)
{
    QImage image(w, h, QImage::Format_RGB32);
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

// Reading maps picture rows one down and fills the spares; writing carries only
// picture elements back: scribbles on the spare row and column never reach the
// picture, an edit lands on its pixel, and nothing else changes.
TEST_P(PixelBufferSizes, ReadMapsRowsOneDownAndWriteCarriesOnlyThePictureBack)
{
    const int w = GetParam().width(), h = GetParam().height();
    QImage image = noisePicture(w, h, 1);
    QImage expected = image.copy();
    expected.setPixel(w - 1, h - 1, qRgb(0x30, 0x20, 0x10));
    PixelBuffer buffer;
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    for (int x = 0; x <= w; ++x)
        EXPECT_TRUE(isZero(buffer.at(x, 0))) << "spare row, column " << x;
    for (int y = 1; y <= h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgra& b = buffer.at(x, y);
            ASSERT_EQ(qRgb(b.red, b.green, b.blue), image.pixel(x, y - 1)) << x << "," << y;
        }
    EXPECT_TRUE(isZero(buffer.at(w, 1)));
    for (int y = 2; y <= h; ++y)
        EXPECT_TRUE(sameBgra(buffer.at(w, y), buffer.at(0, y - 1))) << "spare column, row " << y;

    for (int x = 0; x <= w; ++x)
        buffer.at(x, 0) = Bgra{1, 2, 3, 4};
    for (int y = 0; y <= h; ++y)
        buffer.at(w, y) = Bgra{9, 8, 7, 6};
    buffer.at(w - 1, h) = Bgra{0x10, 0x20, 0x30, 0x00};  // reserved byte as an editor may leave it
    ASSERT_EQ(WritePixels(image, buffer), 0);
    EXPECT_EQ(image, expected);  // same format too: the picture stays opaque

    // The buffer is used again for the next command: its spare row is zero again.
    buffer.redim(w, h);
    ASSERT_EQ(ReadPixels(image, buffer), 0);
    for (int x = 0; x <= w; ++x)
        EXPECT_TRUE(isZero(buffer.at(x, 0))) << "reused spare row, column " << x;
}

INSTANTIATE_TEST_SUITE_P(Sizes, PixelBufferSizes,
    ::testing::Values(QSize(1, 1), QSize(1, 7), QSize(9, 1), QSize(13, 5), QSize(64, 48)),
    [](const auto& info) { return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height()); });

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

// Too small a buffer (no spare column, no last row, tiny), an undimensioned one
// or a null picture is refused, leaving both untouched.
TEST(PixelBuffer, MismatchIsRefusedAndLeavesBothUntouched)
{
    for (const QSize dims : {QSize(9, 8), QSize(10, 7), QSize(0, 0)}) {
        SCOPED_TRACE(testing::Message() << dims.width() << "x" << dims.height());
        QImage image = noisePicture(10, 8, 6);
        const QImage before = image.copy();
        PixelBuffer buffer;
        buffer.redim(dims.width(), dims.height());
        for (int y = 0; y <= dims.height(); ++y)
            for (int x = 0; x <= dims.width(); ++x)
                buffer.at(x, y) = Bgra{uint8_t(x), uint8_t(y), 0x5a, 0};
        EXPECT_EQ(ReadPixels(image, buffer), -1);
        EXPECT_EQ(WritePixels(image, buffer), -1);
        EXPECT_EQ(image, before);
        for (int y = 0; y <= dims.height(); ++y)
            for (int x = 0; x <= dims.width(); ++x)
                ASSERT_TRUE(sameBgra(buffer.at(x, y), Bgra{uint8_t(x), uint8_t(y), 0x5a, 0}));
    }
    PixelBuffer undimensioned, buffer;
    buffer.redim(3, 3);
    QImage image = noisePicture(3, 3, 7), null;
    EXPECT_EQ(ReadPixels(image, undimensioned), -1);
    EXPECT_EQ(WritePixels(image, undimensioned), -1);
    EXPECT_EQ(ReadPixels(null, buffer), -1);
    EXPECT_EQ(WritePixels(null, buffer), -1);
}

} // namespace
