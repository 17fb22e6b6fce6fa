#include "app/Artwork.h"

#include "platform/qt/PictureBox.h"

#include <QImage>
#include <QPolygon>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

namespace {

// The pixels of img for which pred(colour) holds, relative to origin.
template <typename Pred>
QList<QPoint> pixelsWhere(const QImage& img, Pred pred, QPoint origin = {})
{
    QList<QPoint> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pred(img.pixel(x, y), QPoint(x, y)))
                out << QPoint(x, y) - origin;
    return out;
}

bool hasInk(const QPixmap& pixmap)
{
    return !pixelsWhere(pixmap.toImage(), [](QRgb px, QPoint) { return qAlpha(px) > 0; }).isEmpty();
}

bool isBlackInk(QRgb px, QPoint = {}) { return qAlpha(px) >= 200 && qGray(px) <= 40; }

} // namespace

TEST(ArtworkTest, EveryPictureHasItsSizeAndSomethingOnIt)
{
    for (int i : {1, 2, 3, 4, 5, 6, 8, 10, 11})
        EXPECT_TRUE(toolbarIcon(i).size() == QSize(24, 24) && hasInk(toolbarIcon(i))) << "toolbar " << i;
    for (int k = 1; k <= kPointerImageCount; ++k)
        EXPECT_TRUE(pointerImage(k).size() == QSize(32, 32) && hasInk(pointerImage(k))) << "pointer " << k;
    EXPECT_EQ(splashPicture().size(), QSize(548, 142));
}

// Each drawing tool's cursor marks the pixels the tool changes when clicked at
// the hot spot, so what the user aims at is what gets drawn or erased.
TEST(ArtworkTest, ToolCursorsMarkThePixelsTheToolChanges)
{
    using Click = std::function<void(PictureBox&, double x, double y)>;
    const auto eraser = [](int k) -> Click {
        return [k](PictureBox& b, double x, double y) {
            const double w = eraserHalfSizeTwips(k);
            b.setFillSolid(true);
            b.box(x - w, y - w, x + w, y + w, Qt::white);
        };
    };
    const std::tuple<int, QColor, Click> cases[] = {
        {kPointerPen, Qt::white, [](PictureBox& b, double x, double y) { b.pset(x - 30, y + 30, Qt::black); }},
        {kPointerHErase, Qt::black, [](PictureBox& b, double, double y) { b.line(0, y + 60, b.scaleWidth(), y + 60, Qt::white); }},
        {kPointerVErase, Qt::black, [](PictureBox& b, double x, double) { b.line(x - 80, 0, x - 80, b.scaleHeight(), Qt::white); }},
        {kPointerEraseFirst, Qt::black, eraser(kPointerEraseFirst)},
        {kPointerEraseFirst + 1, Qt::black, eraser(kPointerEraseFirst + 1)},
        {kPointerEraseFirst + 2, Qt::black, eraser(kPointerEraseFirst + 2)},
    };
    int lastEraserSide = 0;
    for (const auto& [k, ground, click] : cases) {
        SCOPED_TRACE("image " + std::to_string(k));
        PictureBox box;
        box.image() = QImage(80, 80, QImage::Format_RGB32);
        box.image().fill(ground);
        box.setDrawWidth(k >= kPointerEraseFirst ? 2 : 1);
        const QImage before = box.image().copy();
        const QPoint mouse(40, 40);
        click(box, mouse.x() * 15.0, mouse.y() * 15.0);
        const QList<QPoint> changed =
            pixelsWhere(box.image(), [&](QRgb px, QPoint p) { return px != before.pixel(p); }, mouse);
        ASSERT_FALSE(changed.isEmpty());

        const QImage cursor = pointerImage(k).toImage();
        const QPoint hot = pointerHotSpot(k);
        EXPECT_EQ(pointerCursor(k).hotSpot(), hot);
        QList<QPoint> marked;
        std::copy_if(changed.begin(), changed.end(), std::back_inserter(marked),
                     [&](QPoint d) { return cursor.rect().contains(hot + d); });
        ASSERT_FALSE(marked.isEmpty()) << "the changed pixels lie off the cursor";
        const QList<QPoint> ink = pixelsWhere(cursor, isBlackInk, hot);
        if (k >= kPointerEraseFirst) {
            // The black frame is the outermost ring of the erased square.
            const QRect erased = QPolygon(changed).boundingRect();
            EXPECT_EQ(QPolygon(ink).boundingRect(), erased);
            EXPECT_GT(erased.width(), lastEraserSide);
            lastEraserSide = erased.width();
        } else if (k == kPointerPen) {
            // The point lands on the very tip: the ink pixel furthest down and left.
            EXPECT_EQ(*std::max_element(ink.begin(), ink.end(),
                                        [](QPoint a, QPoint b) { return a.y() - a.x() < b.y() - b.x(); }),
                      changed.front());
        } else {
            const auto inked = std::count_if(marked.begin(), marked.end(), [&](QPoint d) { return ink.contains(d); });
            EXPECT_GE(inked, marked.size() * 9 / 10);
        }
    }
}
