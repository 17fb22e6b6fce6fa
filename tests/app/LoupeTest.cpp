#include "app/Loupe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PlaceLoupe, BesideTheSpotAndOnScreen)
{
    const QSize size(141, 141);
    const struct { QRect bounds; QPoint spot, expected; } cases[] = {
        {{0, 0, 1000, 800}, {500, 400}, {524, 236}},   // above right
        {{0, 0, 1000, 800}, {950, 400}, {786, 236}},   // right edge: to the left
        {{0, 0, 1000, 800}, {500, 50}, {524, 74}},     // top edge: below
        {{0, 0, 1000, 800}, {990, 10}, {826, 34}},     // top-right corner
        {{0, 0, 1000, 800}, {5, 795}, {29, 631}},      // bottom-left corner
        {{0, 0, 1000, 800}, {0, 0}, {24, 24}},         // top-left corner
        {{0, 0, 1000, 800}, {999, 799}, {835, 635}},   // bottom-right corner
        {{0, 0, 1000, 200}, {500, 100}, {524, 0}},     // too low for above or below: beside, slid
        {{0, 0, 250, 800}, {125, 400}, {109, 236}},    // too narrow for either side: above, slid
        {{1920, -300, 800, 600}, {1930, -290}, {1954, -266}}, // a second screen
    };
    for (const auto& c : cases) {
        const QPoint at = placeLoupe(size, c.spot, c.bounds);
        EXPECT_EQ(at, c.expected) << c.spot.x() << "," << c.spot.y();
        const QRect loupe(at, size);
        EXPECT_TRUE(c.bounds.contains(loupe)) << c.spot.x() << "," << c.spot.y();
        EXPECT_FALSE(loupe.contains(c.spot)) << c.spot.x() << "," << c.spot.y();
    }
}

// Every picture pixel its own colour, so a pixel of the loupe names its source.
QImage numberedPicture()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            picture.setPixel(x, y, qRgb(x * 6, y * 8, 90));
    return picture;
}

TEST(Loupe, ShowsThePicturePixelsAtThePositionUnblurredUnderItsCrossHair)
{
    const QImage picture = numberedPicture();
    Loupe loupe;
    loupe.setPicture(picture);
    loupe.setPosition(QPointF(12.3, 7.8));
    const QImage shown = loupe.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(Loupe::kSide, Loupe::kSide));

    // Around the centre, each screen pixel is exactly the picture pixel under
    // it: the position's own pixel on the centre, its neighbours a block away.
    const int centre = Loupe::kSide / 2;
    for (int dy = -Loupe::kZoom; dy <= Loupe::kZoom; ++dy)
        for (int dx = -Loupe::kZoom; dx <= Loupe::kZoom; ++dx) {
            const int x = int(std::floor(12.3 + dx / double(Loupe::kZoom)));
            const int y = int(std::floor(7.8 + dy / double(Loupe::kZoom)));
            ASSERT_EQ(shown.pixel(centre + dx, centre + dy), picture.pixel(x, y)) << dx << "," << dy;
        }
    // The cross-hair's arms lie on the position's row and column.
    for (const QPoint arm : {QPoint(centre, centre - 40), QPoint(centre + 41, centre)})
        EXPECT_TRUE(shown.pixel(arm) == qRgb(0, 0, 0) || shown.pixel(arm) == qRgb(255, 255, 255));

    // Past the picture's edge the loupe shows no picture.
    loupe.setPosition(QPointF(0.5, 0.5));
    const QImage corner = loupe.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(corner.pixel(centre, centre), picture.pixel(0, 0));
    EXPECT_EQ(corner.pixel(centre - 2 * Loupe::kZoom, centre - 2 * Loupe::kZoom), qRgb(128, 128, 128));
}

} // namespace
