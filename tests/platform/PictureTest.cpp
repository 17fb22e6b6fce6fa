#include "platform/picture/Picture.h"

#include <gtest/gtest.h>

namespace {

// A 100 x 50 drawing: a frame along all four edges and a vertical line at x = 50.
const QByteArray kFramedLine = R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="50">
  <rect x="0.5" y="0.5" width="99" height="49" fill="none" stroke="#000" stroke-width="1"/>
  <line x1="50" y1="0" x2="50" y2="50" stroke="#000" stroke-width="1"/>
</svg>)";

TEST(Picture, VectorKeepsItsSizeAndRendersSharpAtTheTargetSize)
{
    const Picture picture = Picture::fromSvg(kFramedLine);
    ASSERT_TRUE(picture.isVector());
    EXPECT_EQ(picture.naturalSize(), QSize(100, 50));
    // Ten times larger: the one-unit line is ten pixels of solid black with at
    // most one soft pixel either side, not a smeared block.
    const QImage out = picture.stretched(QSize(1000, 500));
    ASSERT_EQ(out.size(), QSize(1000, 500));
    int black = 0, grey = 0;
    for (int x = 480; x < 520; ++x) {
        const int g = qGray(out.pixel(x, 250));
        black += g < 16;
        grey += g >= 16 && g < 240;
    }
    EXPECT_GE(black, 9);
    EXPECT_LE(black, 11);
    EXPECT_LE(grey, 2);
}

// The aspect ratio is not kept: the frame lands on the target's own edges.
TEST(VectorFill, FrameLandsOnEveryEdge)
{
    for (const QSize size : {QSize(300, 60), QSize(80, 400), QSize(100, 50)}) {
        const int w = size.width(), h = size.height();
        const QImage out = Picture::fromSvg(kFramedLine).stretched(size);
        ASSERT_EQ(out.size(), size);
        for (const QPoint edge : {QPoint(w / 4, 0), QPoint(w / 4, h - 1), QPoint(0, h / 4), QPoint(w - 1, h / 4)})
            EXPECT_LT(qGray(out.pixel(edge)), 128) << w << "x" << h << " at " << edge.x() << "," << edge.y();
        EXPECT_EQ(out.pixel(w / 4, h / 2), qRgb(255, 255, 255));
    }
}

TEST(Picture, RasterIsFlattenedOnWhite)
{
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(0, 0, 0, 0));      // transparent
    source.setPixel(1, 0, qRgba(0, 0, 255, 255));  // opaque blue
    source.setPixel(2, 0, qRgba(0, 0, 0, 128));    // half black
    const QImage out = Picture::fromImage(source).stretched(QSize(3, 1));
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_NEAR(qGray(out.pixel(2, 0)), 127, 2);
}

TEST(Picture, InvalidInputEmptyTargetAndNoPicture)
{
    EXPECT_TRUE(Picture::fromSvg("this is not svg").isNull());
    EXPECT_TRUE(Picture::fromImage(QImage()).isNull());
    EXPECT_TRUE(Picture::fromSvg(kFramedLine).stretched(QSize(0, 10)).isNull());
    // No picture stretches to a blank white canvas.
    QImage white(10, 10, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(Picture().stretched(QSize(10, 10)).convertToFormat(QImage::Format_RGB32), white);
}

} // namespace
