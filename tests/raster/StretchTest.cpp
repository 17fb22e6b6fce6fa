#include "raster/Stretch.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <set>

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

// Shrinking keeps a one-pixel dark line pure black, wherever it lies, and
// darkens nothing else.
TEST(ShrinkThinLine, StaysPureBlack)
{
    const std::pair<int, bool> lines[] = {{0, true}, {1, true}, {500, true}, {998, true}, {999, true},
                                          {0, false}, {333, false}, {999, false}};
    for (const auto& [position, vertical] : lines) {
        SCOPED_TRACE(testing::Message() << (vertical ? "column " : "row ") << position);
        QImage source = whitePicture(1000, 1000);
        for (int i = 0; i < 1000; ++i)
            source.setPixel(vertical ? position : i, vertical ? i : position, kBlack);
        const QImage out = stretchImage(source, QSize(333, 333));
        ASSERT_EQ(out.size(), QSize(333, 333));
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

TEST(Stretch, ShrinkTakesTheDarkestValueOfEachChannel)
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(200, 10, 90));
    source.setPixel(1, 0, qRgb(50, 180, 120));
    EXPECT_EQ(stretchImage(source, QSize(1, 1)).pixel(0, 0), qRgb(50, 10, 90));
}

TEST(Stretch, EnlargingTwoByTwoRepeatsEachPixel)
{
    const QRgb colours[2][2] = {{qRgb(255, 0, 0), qRgb(0, 255, 0)}, {qRgb(0, 0, 255), qRgb(10, 20, 30)}};
    QImage source(2, 2, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i)
        source.setPixel(i % 2, i / 2, colours[i / 2][i % 2]);
    const QImage out = stretchImage(source, QSize(4, 4));
    ASSERT_EQ(out.size(), QSize(4, 4));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(out.pixel(i % 4, i / 4), colours[i / 8][i % 4 / 2]) << i % 4 << "," << i / 4;
}

// At ratios that do not divide evenly every destination pixel is still one of
// the source pixels, taken in order, each at least once: no mixed colours.
TEST(EnlargeRatio, EveryPixelComesFromTheSourceInOrder)
{
    const std::pair<int, int> ratios[] = {{2, 3}, {3, 5}, {7, 10}, {5, 16}, {1, 9}};
    for (const auto& [from, to] : ratios) {
        SCOPED_TRACE(testing::Message() << from << " -> " << to);
        QImage source(from, 1, QImage::Format_RGB32);
        // Neighbours alternate red and blue: a darkest-of rule would make black.
        for (int x = 0; x < from; ++x)
            source.setPixel(x, 0, x % 2 ? qRgb(0, 0, 255 - x) : qRgb(255 - x, 0, 0));
        const QImage out = stretchImage(source, QSize(to, 3));
        ASSERT_EQ(out.size(), QSize(to, 3));
        int previous = 0;
        std::set<int> used;
        for (int x = 0; x < to; ++x) {
            const QRgb p = out.pixel(x, 1);
            const int s = 255 - qRed(p) - qBlue(p);  // the source index the colour says
            ASSERT_TRUE(s >= previous && s < from && p == source.pixel(s, 0)) << "column " << x;
            previous = s;
            used.insert(s);
            EXPECT_EQ(out.pixel(x, 0), p);
            EXPECT_EQ(out.pixel(x, 2), p);
        }
        EXPECT_EQ(int(used.size()), from);
    }
}

// Whatever the shapes, a frame round the picture lands on every edge of the
// target and does not spread inwards.
TEST(FillTarget, FrameReachesEveryEdge)
{
    const std::pair<QSize, QSize> shapes[] = {{{400, 10}, {120, 90}}, {{10, 400}, {120, 90}}, {{640, 480}, {333, 777}},
                                              {{31, 17}, {500, 500}}, {{1000, 1000}, {333, 333}}, {{120, 90}, {120, 90}}};
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
        EXPECT_EQ(out.pixel(to.width() / 2, to.height() / 2), kWhite);
    }
}

TEST(Stretch, EmptyTargetGivesNullAndOtherFormatsAreAccepted)
{
    EXPECT_TRUE(stretchImage(whitePicture(4, 4), QSize(0, 5)).isNull());
    const QImage out = stretchImage(whitePicture(4, 4).convertToFormat(QImage::Format_Indexed8), QSize(2, 2));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    EXPECT_EQ(out.pixel(1, 1), kWhite);
}

} // namespace
