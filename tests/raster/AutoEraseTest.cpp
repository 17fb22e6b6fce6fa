#include "raster/AutoErase.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace {

// Runs the erasure on a picture the way the command does: read the picture
// into a buffer W x H, erase with the canvas divisors, write it back.
QImage autoErased(const QImage& picture)
{
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    PixelBuffer buffer;
    buffer.redim(out.width(), out.height());
    EXPECT_EQ(ReadPixels(out, buffer), 0);
    AutoErasePixels(buffer, float(out.width()) + 1.0f, float(out.height()) + 1.0f);
    EXPECT_EQ(WritePixels(out, buffer), 0);
    return out;
}

QImage whitePicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage withPixels(QImage image, const std::function<bool(int x, int y)>& inside, QRgb color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (inside(x, y))
                image.setPixel(x, y, color);
    return image;
}

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

struct PictureCase {
    const char* name;
    QImage picture;
    QImage expected;
};

class AutoErasePicture : public testing::TestWithParam<PictureCase> {};

TEST_P(AutoErasePicture, erasesOnlyLongDarkLines)
{
    const PictureCase& c = GetParam();
    const QImage out = autoErased(c.picture);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            ASSERT_EQ(out.pixel(x, y) & 0xffffffu, c.expected.pixel(x, y) & 0xffffffu) << x << "," << y;
}

std::vector<PictureCase> pictureCases()
{
    const QImage white = whitePicture(100, 100);
    auto row = [](int y0) { return [y0](int, int y) { return y == y0; }; };
    auto rowSpan = [](int y0, int x0, int n) { return [=](int x, int y) { return y == y0 && x >= x0 && x < x0 + n; }; };
    auto column = [](int x0) { return [x0](int x, int) { return x == x0; }; };
    auto columnSpan = [](int x0, int y0, int n) { return [=](int x, int y) { return x == x0 && y >= y0 && y < y0 + n; }; };
    auto curve = [](int x, int y) { return y == 20 + (x * x) / 150; };
    std::vector<PictureCase> cases;

    cases.push_back({"fullWidthRow", withPixels(white, row(40), kBlack), white});
    cases.push_back({"fullHeightColumn", withPixels(white, column(40), kBlack), white});
    cases.push_back({"shortSegmentKept", withPixels(white, rowSpan(40, 10, 20), kBlack),
                     withPixels(white, rowSpan(40, 10, 20), kBlack)});
    cases.push_back({"curveKept", withPixels(white, curve, kBlack), withPixels(white, curve, kBlack)});
    cases.push_back({"pureBlueLineKept", withPixels(white, row(40), qRgb(0, 0, 255)),
                     withPixels(white, row(40), qRgb(0, 0, 255))});
    cases.push_back({"darkRedLineErased", withPixels(white, row(40), qRgb(140, 0, 0)), white});

    // 30 full columns blacken 30 % of every row: the rows stay, the columns go.
    cases.push_back({"manyColumns", withPixels(white, [](int x, int) { return x % 3 == 1 && x < 90; }, kBlack), white});

    // A row holds 101 values, the 100 picture pixels and the spare one (white
    // here). It is dark when fewer than 150 * 101 / 255 = 59.4 of them are white:
    // 42 black pixels (41.6 %) erase it, 41 (40.6 %) do not.
    cases.push_back({"row42of101Erased", withPixels(white, rowSpan(40, 10, 42), kBlack), white});
    cases.push_back({"row41of101Kept", withPixels(white, rowSpan(40, 10, 41), kBlack),
                     withPixels(white, rowSpan(40, 10, 41), kBlack)});
    // Columns likewise, with the spare row's (white after the row pass) value.
    cases.push_back({"column42of101Erased", withPixels(white, columnSpan(30, 10, 42), kBlack), white});
    cases.push_back({"column41of101Kept", withPixels(white, columnSpan(30, 10, 41), kBlack),
                     withPixels(white, columnSpan(30, 10, 41), kBlack)});

    // A 42-pixel column crossed by a full-width line: the row pass whitens the
    // crossing first, leaving 41 dark pixels, so the column stays.
    {
        QImage picture = withPixels(white, columnSpan(30, 10, 42), kBlack);
        picture = withPixels(picture, row(30), kBlack);
        QImage expected = withPixels(white, columnSpan(30, 10, 42), kBlack);
        expected.setPixel(30, 30, kWhite);
        cases.push_back({"columnJudgedAfterRowPass", picture, expected});
    }
    // An erased row counts once, as white, in every column however it looked
    // before: here a gap in that row sits on a 42-pixel column, which still goes.
    {
        QImage picture = withPixels(white, columnSpan(30, 10, 42), kBlack);
        picture = withPixels(picture, [](int x, int y) { return y == 80 && x != 30; }, kBlack);
        cases.push_back({"erasedRowCountsOnceInColumns", picture, white});
    }
    // Grid: every full line goes, the curve between them stays.
    {
        QImage picture = withPixels(white, curve, kBlack);
        for (int k : {5, 50, 95}) {
            picture = withPixels(picture, row(k), kBlack);
            picture = withPixels(picture, column(k), kBlack);
        }
        QImage expected = withPixels(white, curve, kBlack);
        expected = withPixels(expected, [](int x, int y) { return x == 5 || x == 50 || x == 95 || y == 5 || y == 50 || y == 95; }, kWhite);
        cases.push_back({"gridAroundCurve", picture, expected});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoErasePicture, testing::ValuesIn(pictureCases()),
                         [](const testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

TEST(AutoErase, darknessIsStrictlyBelow150OverTheGivenDivisor)
{
    struct Case {
        int grey;
        float extraDivisor;
        bool erased;
    };
    // The whole extent, spare row and column included, holds the same grey, so
    // each line sums to grey * 21 over a divisor of 21 (+ extra).
    for (const Case c : {Case{149, 0, true}, Case{150, 0, false}, Case{150, 0.5f, true}, Case{151, 0.1f, false}}) {
        PixelBuffer buffer;
        buffer.redim(20, 20);
        for (int y = 0; y <= 20; ++y)
            for (int x = 0; x <= 20; ++x)
                buffer.at(x, y) = Bgra{std::uint8_t(c.grey), std::uint8_t(c.grey), std::uint8_t(c.grey), 7};
        AutoErasePixels(buffer, 21.0f + c.extraDivisor, 21.0f + c.extraDivisor);
        for (int y = 0; y <= 20; ++y)
            for (int x = 0; x <= 20; ++x) {
                const Bgra p = buffer.at(x, y);
                const int expected = c.erased ? 255 : c.grey;
                ASSERT_EQ(p.red, expected) << c.grey << " +" << c.extraDivisor;
                ASSERT_EQ(p.green, expected);
                ASSERT_EQ(p.blue, expected);
                ASSERT_EQ(p.reserved, 7);
            }
    }
}

TEST(AutoErase, spareRowIsAlwaysWhitened)
{
    // Row 0 is never filled from the picture, so it is all zero and dark.
    PixelBuffer buffer;
    buffer.redim(3, 2);
    for (int y = 1; y <= 2; ++y)
        for (int x = 0; x <= 3; ++x)
            buffer.at(x, y) = Bgra{255, 255, 255, 0};
    AutoErasePixels(buffer, 4.0f, 3.0f);
    for (int x = 0; x <= 3; ++x)
        EXPECT_EQ(buffer.at(x, 0).red, 255);
}

// The straightforward two-pass definition, for comparison on large random
// pictures (beyond the batch sizes the real routine uses internally). Returns
// the numbers of rows and columns erased.
std::pair<int, int> referenceAutoErase(PixelBuffer& b, float rowDivisor, float columnDivisor)
{
    // One pass over lines of `length` elements; element(line, i) picks one.
    auto pass = [](int lines, int length, float divisor, const std::function<Bgra&(int, int)>& element) {
        int erased = 0;
        for (int line = 0; line < lines; ++line) {
            std::uint64_t r = 0, g = 0, bl = 0;
            for (int i = 0; i < length; ++i) {
                r += element(line, i).red;
                g += element(line, i).green;
                bl += element(line, i).blue;
            }
            if (r / double(divisor) < 150 && bl / double(divisor) < 150 && g / double(divisor) < 150) {
                ++erased;
                for (int i = 0; i < length; ++i)
                    element(line, i).red = element(line, i).green = element(line, i).blue = 255;
            }
        }
        return erased;
    };
    const int w = b.maxX() + 1, h = b.maxY() + 1;
    const int rows = pass(h, w, rowDivisor, [&](int y, int x) -> Bgra& { return b.at(x, y); });
    const int columns = pass(w, h, columnDivisor, [&](int x, int y) -> Bgra& { return b.at(x, y); });
    return {rows, columns};
}

TEST(AutoErase, largePicturesMatchTheTwoPassDefinition)
{
    std::mt19937 rng(777);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const auto& [w, h] : {std::pair{600, 530}, std::pair{257, 1100}}) {
        // Most lines are light, some are near the 41 % edge, some are solid
        // lines; coloured noise on top. Some rows and some columns go.
        auto share = [&] {
            const double u = unit(rng);
            return u < 0.7 ? 0.02 : u < 0.9 ? 0.36 + 0.2 * unit(rng) : 0.9;
        };
        std::vector<double> rowShare(std::size_t(h) + 1), columnShare(std::size_t(w) + 1);
        for (double& s : rowShare)
            s = share();
        for (double& s : columnShare)
            s = share();
        PixelBuffer buffer;
        buffer.redim(w, h);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) {
                Bgra& p = buffer.at(x, y);
                const double u = unit(rng);
                if (u < 0.05)
                    p = Bgra{std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), 0};
                else if (u < std::max(rowShare[std::size_t(y)], columnShare[std::size_t(x)]))
                    p = Bgra{0, 0, 0, 0};
                else
                    p = Bgra{255, 255, 255, 0};
            }
        PixelBuffer expected = buffer;
        const auto [rows, columns] = referenceAutoErase(expected, float(w) + 1, float(h) + 1);
        EXPECT_GT(rows, 10);
        EXPECT_GT(columns, 10);
        AutoErasePixels(buffer, float(w) + 1, float(h) + 1);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) {
                const Bgra a = buffer.at(x, y), e = expected.at(x, y);
                ASSERT_TRUE(a.red == e.red && a.green == e.green && a.blue == e.blue) << x << "," << y;
            }
    }
}

} // namespace
