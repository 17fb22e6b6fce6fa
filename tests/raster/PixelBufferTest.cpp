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

bool same(const Bgra& a, const Bgra& b) { return std::memcmp(&a, &b, sizeof(Bgra)) == 0; }
const Bgra kZero{0, 0, 0, 0};

// Reading maps picture rows one down and fills the spares; writing carries only
// picture elements back. Sizes include a single pixel, single rows and columns,
// odd widths, and a buffer larger than the picture.
TEST(PixelBuffer, ReadMapsRowsOneDownAndWriteCarriesOnlyThePictureBack)
{
    for (const auto& [picture, dims] : {std::pair{QSize(1, 1), QSize(1, 1)}, {QSize(1, 7), QSize(1, 7)},
                                        {QSize(9, 1), QSize(9, 1)}, {QSize(13, 5), QSize(13, 5)},
                                        {QSize(5, 4), QSize(8, 6)}}) {
        const int w = picture.width(), h = picture.height();
        SCOPED_TRACE(testing::Message() << w << "x" << h << " in " << dims.width() << "x" << dims.height());
        QImage image = noisePicture(w, h, 1);
        QImage expected = image.copy();
        expected.setPixel(w - 1, h - 1, qRgb(0x30, 0x20, 0x10));
        PixelBuffer buffer;
        buffer.redim(dims.width(), dims.height());
        for (int pass = 0; pass < 2; ++pass) {  // the second time in a reused buffer
            ASSERT_EQ(ReadPixels(image, buffer), 0);
            for (int x = 0; x <= dims.width(); ++x)
                EXPECT_TRUE(same(buffer.at(x, 0), kZero)) << "spare row, column " << x;
            for (int y = 1; y <= h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(qRgb(buffer.at(x, y).red, buffer.at(x, y).green, buffer.at(x, y).blue),
                              image.pixel(x, y - 1)) << x << "," << y;
            // The spare column repeats the first pixel of the row above (zero for the top row).
            EXPECT_TRUE(same(buffer.at(w, 1), kZero));
            for (int y = 2; y <= h; ++y)
                EXPECT_TRUE(same(buffer.at(w, y), buffer.at(0, y - 1))) << "spare column, row " << y;
            EXPECT_TRUE(dims.height() == h || same(buffer.at(0, h + 1), kZero));

            for (int x = 0; x <= dims.width(); ++x)
                buffer.at(x, 0) = Bgra{1, 2, 3, 4};
            for (int y = 0; y <= dims.height(); ++y)
                buffer.at(w, y) = Bgra{9, 8, 7, 6};
            buffer.at(w - 1, h) = Bgra{0x10, 0x20, 0x30, 0x00};  // reserved byte as an editor may leave it
            ASSERT_EQ(WritePixels(image, buffer), 0);
            EXPECT_EQ(image, expected);  // same format too: the picture stays opaque
            buffer.redim(dims.width(), dims.height());
        }
    }
}

} // namespace
