// Stretching a picture to the canvas: thin dark lines survive shrinking, each
// enlarged pixel repeats the source pixel under its centre.
#include "raster/Stretch.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255);

// A white picture, with a black row (or column, when vertical) at `line`.
QImage picture(QSize size, int line = -1, bool vertical = false)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (line >= 0)
        QPainter(&image).drawLine(vertical ? QLine(line, 0, line, size.height() - 1) : QLine(0, line, size.width() - 1, line));
    return image;
}

// How many rows (or columns, when vertical) of the image are all of one colour.
// The rule written as plainly as possible: a destination pixel takes the
// per-channel minimum of every source pixel it overlaps when shrinking, the
// source pixel under its centre when enlarging, on each axis on its own.
std::pair<int, int> sourceRange(int d, int source, int dest)
{
    if (dest > source) {
        const int s = int(std::min<long long>((2LL * d + 1) * source / (2LL * dest), source - 1));
        return {s, s + 1};
    }
    const int first = int(std::clamp<long long>(1LL * d * source / dest, 0, source - 1));
    const int last = int(std::clamp<long long>((1LL * (d + 1) * source + dest - 1) / dest, first + 1, source));
    return {first, last};
}

QImage plainStretch(const QImage& source, QSize size)
{
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto [y0, y1] = sourceRange(y, source.height(), size.height());
        for (int x = 0; x < size.width(); ++x) {
            const auto [x0, x1] = sourceRange(x, source.width(), size.width());
            int r = 255, g = 255, b = 255;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const QRgb c = source.pixel(sx, sy);
                    r = std::min(r, qRed(c));
                    g = std::min(g, qGreen(c));
                    b = std::min(b, qBlue(c));
                }
            out.setPixel(x, y, qRgb(r, g, b));
        }
    }
    return out;
}

int linesAll(const QImage& image, bool vertical, QRgb colour)
{
    int n = 0;
    for (int i = 0; i < (vertical ? image.width() : image.height()); ++i) {
        bool all = true;
        for (int j = 0; all && j < (vertical ? image.height() : image.width()); ++j)
            all = image.pixel(vertical ? i : j, vertical ? j : i) == colour;
        n += all;
    }
    return n;
}

TEST(Stretch, ShrinkingKeepsAOnePixelLinePureBlackWhereverItLiesAndTakesTheDarkestChannels)
{
    const std::pair<int, bool> lines[] = {{0, true}, {1, true}, {500, true}, {999, true}, {0, false}, {333, false}, {999, false}};
    for (const auto& [position, vertical] : lines) {
        const QImage out = stretchImage(picture({1000, 1000}, position, vertical), QSize(333, 333));
        const int black = linesAll(out, vertical, kBlack);
        EXPECT_TRUE(black == 1 || black == 2) << position << vertical; // a line on a boundary touches two pixels
        EXPECT_EQ(linesAll(out, vertical, kWhite), 333 - black) << position << vertical << ": nothing else darkens";
    }
    QImage source(4, 1, QImage::Format_RGB32);
    for (int x = 0; const QRgb c : {qRgb(200, 10, 90), qRgb(50, 180, 120), qRgb(0, 0, 255), qRgb(0, 0, 255)})
        source.setPixel(x++, 0, c);
    const QImage out = stretchImage(source, QSize(2, 1));
    EXPECT_EQ(out.pixel(0, 0), qRgb(50, 10, 90));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255)) << "an area of one colour keeps it";
}

TEST(Stretch, EachEnlargedPixelTakesTheSourcePixelUnderItsCentre)
{
    const std::tuple<int, int, std::vector<int>> cases[] = {
        {2, 5, {0, 0, 1, 1, 1}}, {3, 4, {0, 1, 1, 2}}, {4, 6, {0, 1, 1, 2, 3, 3}}, {1, 3, {0, 0, 0}}, {3, 7, {0, 0, 1, 1, 1, 2, 2}}};
    for (const auto& [from, to, under] : cases) {
        QImage source(from, from, QImage::Format_RGB32);
        for (int y = 0; y < from; ++y)
            for (int x = 0; x < from; ++x)
                source.setPixel(x, y, qRgb(40 * x, 40 * y, 200)); // every pixel its own colour
        const QImage out = stretchImage(source, QSize(to, to));
        ASSERT_EQ(out.size(), QSize(to, to));
        for (int y = 0; y < to; ++y)
            for (int x = 0; x < to; ++x)
                ASSERT_EQ(out.pixel(x, y), source.pixel(under[x], under[y])) << from << " -> " << to << " at " << x << "," << y;
    }
    // No target, no picture (a white canvas), another format.
    EXPECT_TRUE(stretchImage(picture({4, 4}), QSize(0, 5)).isNull());
    EXPECT_EQ(stretchImage(QImage(), QSize(3, 3)), picture({3, 3}));
    EXPECT_EQ(stretchImage(picture({4, 4}).convertToFormat(QImage::Format_Indexed8), QSize(2, 2)), picture({2, 2}));
}

// Random pixels (alpha bytes too, which the canvas never shows) over sizes that
// shrink by small and large factors, enlarge, mix both and keep one axis; the
// larger ones take the multi-core path.
TEST(Stretch, GivesThePlainRuleBitForBitOnRandomPicturesAndSizes)
{
    std::mt19937 rng(20);
    const std::pair<QSize, QSize> cases[] = {
        {{1, 1}, {1, 1}}, {{1, 1}, {7, 3}}, {{5, 3}, {1, 1}}, {{17, 9}, {16, 8}}, {{17, 9}, {3, 2}},
        {{10, 40}, {30, 7}}, {{64, 64}, {64, 64}}, {{301, 7}, {300, 9}}, {{1600, 900}, {613, 397}},
        {{1200, 700}, {1201, 2}}, {{900, 1300}, {97, 1300}}, {{2000, 1100}, {4, 1000}}, {{700, 500}, {1500, 1100}}};
    for (const auto& [from, to] : cases) {
        QImage source(from, QImage::Format_RGB32);
        for (int y = 0; y < from.height(); ++y) {
            auto* line = reinterpret_cast<quint32*>(source.scanLine(y));
            for (int x = 0; x < from.width(); ++x)
                line[x] = quint32(rng());
        }
        const QImage expected = plainStretch(source, to);
        const QImage out = stretchImage(source, to);
        ASSERT_EQ(out.size(), to);
        // Byte for byte, alpha included: QImage's own comparison ignores it in RGB32.
        bool same = true;
        for (int y = 0; same && y < to.height(); ++y)
            same = std::memcmp(out.constScanLine(y), expected.constScanLine(y), size_t(to.width()) * 4) == 0;
        EXPECT_TRUE(same) << from.width() << "x" << from.height() << " -> " << to.width()
                                                      << "x" << to.height();
    }
}

} // namespace
