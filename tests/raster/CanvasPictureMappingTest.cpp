#include "raster/CanvasPictureMapping.h"

#include <gtest/gtest.h>

namespace {

// Canvas pixels, picture pixels along one axis, a position in twips and the
// picture coordinate it names.
struct Case { int canvas, picture; double twips, picture_; };

TEST(CanvasPictureMapping, TwipsAndPictureCoordinatesBothWays)
{
    const Case cases[] = {
        // Same size: twip 15p is the centre of picture pixel p, the canvas edge
        // (half a pixel before twip 0) the picture's edge.
        {100, 100, 0, 0.5}, {100, 100, 150, 10.5}, {100, 100, -7.5, 0}, {100, 100, 1492.5, 100},
        // A picture twice the canvas: a canvas pixel's centre falls between two
        // picture pixels, a picture pixel's centre a quarter pixel beside it.
        {100, 200, 150, 21}, {100, 200, 146.25, 20.5}, {100, 200, 153.75, 21.5},
        // Half the canvas: each picture pixel spans two canvas pixels.
        {200, 100, 0, 0.25}, {200, 100, 15, 0.75}, {200, 100, 7.5, 0.5},
        // The first window's canvas over an 800-pixel picture, both edges.
        {447, 800, -7.5, 0}, {447, 800, 447 * 15 - 7.5, 800}, {447, 800, 15 * 223, 800.0 * 223.5 / 447},
    };
    for (const Case& c : cases) {
        const CanvasPictureMapping::Axis axis(c.canvas, c.picture);
        EXPECT_DOUBLE_EQ(axis.toPicture(c.twips), c.picture_) << c.canvas << " / " << c.picture << " at " << c.twips;
        EXPECT_NEAR(axis.toTwips(c.picture_), c.twips, 1e-9) << c.canvas << " / " << c.picture;
        EXPECT_DOUBLE_EQ(axis.twipsPerPicturePixel(), 15.0 * c.canvas / c.picture);
    }
    const CanvasPictureMapping both(QSize(447, 335), QSize(800, 600));
    EXPECT_EQ(both.toPicture(both.toTwips(QPointF(12.25, 400.75))), QPointF(12.25, 400.75));
}

TEST(CanvasPictureMapping, FineStepsLandOnPicturePixelsOrQuarterCanvasPixels)
{
    const CanvasPictureMapping::Axis big(447, 800), small(447, 200), same(100, 100);
    const auto centre = [&](double q) { return big.toTwips(q + 0.5); };
    const struct { const CanvasPictureMapping::Axis& axis; double from; int direction; double to; } cases[] = {
        {big, centre(96), +1, centre(97)}, {big, centre(96), -1, centre(95)},
        {big, 0, +1, centre(1)}, {big, 0, -1, centre(0)}, // a drag's whole pixel lies between picture pixels
        {small, 0, +1, 3.75}, {small, 3.75, +1, 7.5}, {small, 3.8, -1, 3.75}, {small, 0, -1, -3.75},
        {same, 150, +1, 165}, {same, 150, -1, 135},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.axis.fineStep(c.from, c.direction), c.to, 1e-9) << c.from << " " << c.direction;
}

TEST(CanvasPictureMapping, CanvasPixelOfEachPictureCentre)
{
    const struct { int canvas, picture, pictureIndex, canvasIndex; } cases[] = {
        {100, 100, 0, 0}, {100, 100, 99, 99}, {100, 200, 0, 0}, {100, 200, 1, 0}, {100, 200, 2, 1},
        {100, 200, 199, 99}, {200, 100, 0, 1}, {200, 100, 1, 3}, {200, 100, 99, 199},
        {447, 800, 799, 446}, {447, 800, 400, 223}, {447, 800, -5, 0}, {447, 800, 900, 446},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CanvasPictureMapping::Axis(c.canvas, c.picture).canvasPixelOf(c.pictureIndex), c.canvasIndex)
            << c.canvas << " / " << c.picture << " pixel " << c.pictureIndex;
}

// picturePixelsIn is the exact inverse of canvasPixelOf, for every range of
// canvas pixels, whichever way the picture is stretched.
TEST(CanvasPictureMapping, PicturePixelsInCanvasPixelsInvertCanvasPixelOf)
{
    const std::pair<int, int> sizes[] = {{10, 10}, {10, 23}, {23, 10}, {447, 800}, {335, 600}, {7, 3}, {1, 5}};
    for (const auto& [canvas, picture] : sizes) {
        const CanvasPictureMapping::Axis axis(canvas, picture);
        for (int a = 0; a < canvas; ++a)
            for (int b = a; b < std::min(canvas, a + 4); ++b) {
                const auto [first, last] = axis.picturePixelsIn(a, b);
                for (int q = 0; q < picture; ++q) {
                    const bool inside = axis.canvasPixelOf(q) >= a && axis.canvasPixelOf(q) <= b;
                    ASSERT_EQ(q >= first && q <= last, inside)
                        << canvas << " / " << picture << ", canvas " << a << ".." << b << ", picture " << q;
                }
            }
    }
}

} // namespace
