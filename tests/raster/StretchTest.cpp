#include "raster/Stretch.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <set>

namespace {

QImage whitePicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool rowIsAll(const QImage& image, int y, QRgb colour)
{
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != colour)
            return false;
    return true;
}

bool columnIsAll(const QImage& image, int x, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != colour)
            return false;
    return true;
}

// --- shrinking keeps a one-pixel dark line, wherever it lies ------------------

struct ThinLine {
    int position;
    bool vertical;
};

void PrintTo(const ThinLine& c, std::ostream* os) { *os << (c.vertical ? "column " : "row ") << c.position; }

class ShrinkThinLine : public ::testing::TestWithParam<ThinLine> {};

TEST_P(ShrinkThinLine, StaysPureBlack)
{
    QImage source = whitePicture(1000, 1000);
    const auto [position, vertical] = GetParam();
    for (int i = 0; i < 1000; ++i)
        source.setPixel(vertical ? position : i, vertical ? i : position, qRgb(0, 0, 0));

    const QImage out = stretchImage(source, QSize(333, 333));
    ASSERT_EQ(out.size(), QSize(333, 333));
    int blackLines = 0;
    for (int i = 0; i < 333; ++i)
        blackLines += vertical ? columnIsAll(out, i, qRgb(0, 0, 0)) : rowIsAll(out, i, qRgb(0, 0, 0));
    EXPECT_GE(blackLines, 1);
    EXPECT_LE(blackLines, 2);  // a line on a boundary touches two destination pixels
    // Nothing else darkens.
    const int expectedWhite = 333 - blackLines;
    int whiteLines = 0;
    for (int i = 0; i < 333; ++i)
        whiteLines += vertical ? columnIsAll(out, i, qRgb(255, 255, 255)) : rowIsAll(out, i, qRgb(255, 255, 255));
    EXPECT_EQ(whiteLines, expectedWhite);
}

INSTANTIATE_TEST_SUITE_P(Positions, ShrinkThinLine,
    ::testing::Values(ThinLine{0, true}, ThinLine{1, true}, ThinLine{500, true}, ThinLine{998, true},
        ThinLine{999, true}, ThinLine{0, false}, ThinLine{333, false}, ThinLine{999, false}));

TEST(Stretch, ShrinkTakesTheDarkestValueOfEachChannel)
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(200, 10, 90));
    source.setPixel(1, 0, qRgb(50, 180, 120));
    EXPECT_EQ(stretchImage(source, QSize(1, 1)).pixel(0, 0), qRgb(50, 10, 90));
}

// --- enlarging repeats pixels ---------------------------------------------------

TEST(Stretch, EnlargingTwoByTwoRepeatsEachPixel)
{
    QImage source(2, 2, QImage::Format_RGB32);
    const QRgb colours[2][2] = {{qRgb(255, 0, 0), qRgb(0, 255, 0)}, {qRgb(0, 0, 255), qRgb(10, 20, 30)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            source.setPixel(x, y, colours[y][x]);
    const QImage out = stretchImage(source, QSize(4, 4));
    ASSERT_EQ(out.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(out.pixel(x, y), colours[y / 2][x / 2]) << x << "," << y;
}

// At ratios that do not divide evenly every destination pixel is still one of
// the source pixels, taken in order, each at least once: no mixed colours.
struct Ratio {
    int from;
    int to;
};

void PrintTo(const Ratio& c, std::ostream* os) { *os << c.from << " -> " << c.to; }

class EnlargeRatio : public ::testing::TestWithParam<Ratio> {};

TEST_P(EnlargeRatio, EveryPixelComesFromTheSourceInOrder)
{
    const auto [from, to] = GetParam();
    QImage source(from, 1, QImage::Format_RGB32);
    // Neighbours alternate red and blue: a darkest-of rule would make black.
    for (int x = 0; x < from; ++x)
        source.setPixel(x, 0, x % 2 ? qRgb(0, 0, 255 - x) : qRgb(255 - x, 0, 0));
    const QImage out = stretchImage(source, QSize(to, 3));
    ASSERT_EQ(out.size(), QSize(to, 3));
    int previous = 0;
    std::set<int> used;
    for (int x = 0; x < to; ++x) {
        int match = -1;
        for (int s = 0; s < from; ++s)
            if (source.pixel(s, 0) == out.pixel(x, 1))
                match = s;
        ASSERT_GE(match, previous) << "column " << x;
        previous = match;
        used.insert(match);
        EXPECT_EQ(out.pixel(x, 0), out.pixel(x, 2));
    }
    EXPECT_EQ(static_cast<int>(used.size()), from);
}

INSTANTIATE_TEST_SUITE_P(Ratios, EnlargeRatio,
    ::testing::Values(Ratio{2, 3}, Ratio{3, 5}, Ratio{7, 10}, Ratio{5, 16}, Ratio{1, 9}));

// --- whatever the shape, the picture fills the target exactly -----------------

struct Shape {
    QSize from;
    QSize to;
};

void PrintTo(const Shape& c, std::ostream* os)
{
    *os << c.from.width() << "x" << c.from.height() << " -> " << c.to.width() << "x" << c.to.height();
}

class FillTarget : public ::testing::TestWithParam<Shape> {};

TEST_P(FillTarget, FrameReachesEveryEdge)
{
    const auto [from, to] = GetParam();
    QImage source = whitePicture(from.width(), from.height());
    QPainter painter(&source);
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(0, 0, from.width() - 1, from.height() - 1);
    painter.end();

    const QImage out = stretchImage(source, to);
    ASSERT_EQ(out.size(), to);
    EXPECT_TRUE(rowIsAll(out, 0, qRgb(0, 0, 0)));
    EXPECT_TRUE(rowIsAll(out, to.height() - 1, qRgb(0, 0, 0)));
    EXPECT_TRUE(columnIsAll(out, 0, qRgb(0, 0, 0)));
    EXPECT_TRUE(columnIsAll(out, to.width() - 1, qRgb(0, 0, 0)));
    // The middle stays white: the frame did not spread inwards.
    EXPECT_EQ(out.pixel(to.width() / 2, to.height() / 2), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(Shapes, FillTarget,
    ::testing::Values(Shape{{400, 10}, {120, 90}}, Shape{{10, 400}, {120, 90}}, Shape{{640, 480}, {333, 777}},
        Shape{{31, 17}, {500, 500}}, Shape{{1000, 1000}, {333, 333}}, Shape{{120, 90}, {120, 90}}));

TEST(Stretch, EmptyTargetGivesNullAndOtherFormatsAreAccepted)
{
    EXPECT_TRUE(stretchImage(whitePicture(4, 4), QSize(0, 5)).isNull());
    QImage indexed = whitePicture(4, 4).convertToFormat(QImage::Format_Indexed8);
    const QImage out = stretchImage(indexed, QSize(2, 2));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    EXPECT_EQ(out.pixel(1, 1), qRgb(255, 255, 255));
}

} // namespace
