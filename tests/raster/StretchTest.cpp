#include "raster/Stretch.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

QImage whitePicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Whether row (or column, when vertical) i of the image is all one colour.
bool lineIsAll(const QImage& image, int i, bool vertical, QRgb colour)
{
    for (int j = 0; j < (vertical ? image.height() : image.width()); ++j)
        if (image.pixel(vertical ? i : j, vertical ? j : i) != colour)
            return false;
    return true;
}

// A one-pixel dark line stays pure black when the picture shrinks, wherever it
// lies, and nothing else darkens: a thin curve never vanishes or turns grey.
TEST(Shrink, OnePixelLineSurvivesPureBlack)
{
    const std::pair<int, bool> lines[] = {{0, true}, {1, true}, {500, true}, {999, true}, {0, false}, {333, false}, {999, false}};
    for (const auto& [position, vertical] : lines) {
        SCOPED_TRACE(testing::Message() << (vertical ? "column " : "row ") << position);
        QImage source = whitePicture(1000, 1000);
        for (int i = 0; i < 1000; ++i)
            source.setPixel(vertical ? position : i, vertical ? i : position, kBlack);
        const QImage out = stretchImage(source, QSize(333, 333));
        int black = 0, white = 0;
        for (int i = 0; i < 333; ++i) {
            black += lineIsAll(out, i, vertical, kBlack);
            white += lineIsAll(out, i, vertical, kWhite);
        }
        EXPECT_GE(black, 1);
        EXPECT_LE(black, 2);  // a line on a boundary touches two destination pixels
        EXPECT_EQ(white, 333 - black);
    }
}

// Shrinking takes the darkest value of each channel; areas of one colour keep it.
TEST(Shrink, DarkestChannelsAndPlainAreasKeepTheirColour)
{
    QImage source(4, 1, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(200, 10, 90), qRgb(50, 180, 120), qRgb(0, 0, 255), qRgb(0, 0, 255)};
    for (int x = 0; x < 4; ++x)
        source.setPixel(x, 0, colours[x]);
    const QImage out = stretchImage(source, QSize(2, 1));
    EXPECT_EQ(out.pixel(0, 0), qRgb(50, 10, 90));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255));
}

// Enlarging: each destination pixel is the source pixel under its centre,
// exactly, along both axes. A mapping shifted by half a pixel fails here.
TEST(Enlarge, EachPixelTakesTheSourcePixelUnderItsCentre)
{
    struct Case { int from, to; std::vector<int> source; };
    const Case cases[] = {{2, 5, {0, 0, 1, 1, 1}}, {3, 4, {0, 1, 1, 2}}, {4, 6, {0, 1, 1, 2, 3, 3}},
                          {1, 3, {0, 0, 0}}, {3, 7, {0, 0, 1, 1, 1, 2, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        QImage source(c.from, c.from, QImage::Format_RGB32);
        for (int y = 0; y < c.from; ++y)
            for (int x = 0; x < c.from; ++x)
                source.setPixel(x, y, qRgb(40 * x, 40 * y, 200));  // every pixel its own colour
        const QImage out = stretchImage(source, QSize(c.to, c.to));
        ASSERT_EQ(out.size(), QSize(c.to, c.to));
        for (int y = 0; y < c.to; ++y)
            for (int x = 0; x < c.to; ++x)
                ASSERT_EQ(out.pixel(x, y), source.pixel(c.source[x], c.source[y])) << x << "," << y;
    }
}

// Whatever the shapes, a frame round the picture lands on every edge of the
// target and does not spread inwards.
TEST(Stretch, FrameReachesEveryEdge)
{
    const std::pair<QSize, QSize> shapes[] = {{{400, 10}, {120, 90}}, {{10, 400}, {120, 90}}, {{640, 480}, {333, 777}},
                                              {{31, 17}, {500, 500}}, {{2, 300000}, {120, 90}}, {{120, 90}, {120, 90}}};
    for (const auto& [from, to] : shapes) {
        SCOPED_TRACE(testing::Message() << from.width() << "x" << from.height() << " -> " << to.width() << "x" << to.height());
        QImage source = whitePicture(from.width(), from.height());
        QPainter painter(&source);
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(0, 0, from.width() - 1, from.height() - 1);
        painter.end();
        const QImage out = stretchImage(source, to);
        ASSERT_EQ(out.size(), to);
        for (const bool vertical : {false, true}) {
            EXPECT_TRUE(lineIsAll(out, 0, vertical, kBlack));
            EXPECT_TRUE(lineIsAll(out, (vertical ? to.width() : to.height()) - 1, vertical, kBlack));
        }
        if (from.width() > 2)
            EXPECT_EQ(out.pixel(to.width() / 2, to.height() / 2), kWhite);
    }
}

TEST(Stretch, EmptyTargetNoPictureAndOtherFormats)
{
    EXPECT_TRUE(stretchImage(whitePicture(4, 4), QSize(0, 5)).isNull());
    EXPECT_EQ(stretchImage(QImage(), QSize(3, 3)), whitePicture(3, 3));  // no picture: a white canvas
    const QImage out = stretchImage(whitePicture(4, 4).convertToFormat(QImage::Format_Indexed8), QSize(2, 2));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    EXPECT_EQ(out.pixel(1, 1), kWhite);
}

} // namespace
