#include "app/Loupe.h"

#include "support/MainWindowHarness.h"

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
QImage numberedPicture(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, x / 256 * 16 + y / 256));
    return picture;
}

TEST(Loupe, ShowsThePicturePixelsAtThePositionUnblurredUnderItsCrossHair)
{
    const QImage picture = numberedPicture(40, 30);
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

TEST(Loupe, ShowsTheLoadedPictureAtADraggedReferenceAndTheSightedPoint)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    const QSize canvas = h.canvas()->size();
    const QImage picture = numberedPicture(canvas.width() * 2 + 1, canvas.height() * 2 + 1);
    h.open(picture);
    // Canvas twips to the picture pixel under them.
    const auto under = [&](double x, double y) {
        return picture.pixel(int((x / 15 + 0.5) * picture.width() / canvas.width()),
                             int((y / 15 + 0.5) * picture.height() / canvas.height()));
    };
    const auto shown = [&](QPoint offset) {
        QWidget* loupe = h.find("loupe");
        return h.window->grab().toImage().pixel(loupe->geometry().center() + offset);
    };

    QWidget* marker = h.find("lblXY1");
    QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    QMouseEvent move(QEvent::MouseMove, QPointF(34, -16), marker->mapToGlobal(QPointF(34, -16)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    const AxisCalibration& m = h.window->calibration();
    ASSERT_TRUE(h.find("loupe")->isVisible());
    EXPECT_EQ(shown({0, 0}), under(m.refX1Pos, m.refY1Pos));
    EXPECT_EQ(shown({Loupe::kZoom, 0}), under(m.refX1Pos + 7.5, m.refY1Pos)) << "a block for each picture pixel";
    const QPoint crossing = h.canvas()->mapTo(h.window.get(), QPoint(h.find("linX1")->x(), h.find("linY1")->y()));
    EXPECT_FALSE(h.find("loupe")->geometry().contains(crossing));
    QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, QPoint(34, -16));
    EXPECT_FALSE(h.find("loupe")->isVisible());

    h.window->tbToolbar_ButtonClick(6);
    h.moveOnCanvas({200, 100});
    EXPECT_EQ(shown({0, 0}), under(200 * 15, 100 * 15));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(h.canvas(), &leave);
    EXPECT_FALSE(h.find("loupe")->isVisible());
}

} // namespace
