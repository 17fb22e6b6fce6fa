#include "app/Artwork.h"

#include "platform/qt/PictureBox.h"

#include <QImage>
#include <gtest/gtest.h>

#include <functional>

namespace {

bool hasInk(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0)
                return true;
    return false;
}

bool isBlackInk(QRgb px) { return qAlpha(px) >= 200 && qGray(px) <= 40; }

// Pixels a tool action changed on a canvas, relative to the mouse pixel.
QList<QPoint> changedPixels(const QImage& before, const QImage& after, QPoint mouse)
{
    QList<QPoint> changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                changed << QPoint(x, y) - mouse;
    return changed;
}

QRect boundsOf(const QList<QPoint>& pts)
{
    QRect r;
    for (const QPoint& p : pts)
        r |= QRect(p, QSize(1, 1));
    return r;
}

} // namespace

TEST(ArtworkTest, EveryPictureHasItsSizeAndSomethingOnIt)
{
    for (int i : {1, 2, 3, 4, 5, 6, 8, 10, 11}) {
        const QPixmap icon = toolbarIcon(i);
        EXPECT_EQ(icon.size(), QSize(24, 24)) << "toolbar " << i;
        EXPECT_TRUE(hasInk(icon.toImage())) << "toolbar " << i;
    }
    for (int i : {0, 7, 9, 12})
        EXPECT_TRUE(toolbarIcon(i).isNull()) << "toolbar " << i;

    for (int k = 1; k <= kPointerImageCount; ++k) {
        const QPixmap img = pointerImage(k);
        EXPECT_EQ(img.size(), QSize(32, 32)) << "pointer " << k;
        EXPECT_TRUE(hasInk(img.toImage())) << "pointer " << k;
    }
    EXPECT_TRUE(pointerImage(0).isNull());
    EXPECT_TRUE(pointerImage(12).isNull());
    EXPECT_EQ(pointerCursor(kPointerAxisLinLin).shape(), Qt::ArrowCursor);
    EXPECT_EQ(pointerCursor(kPointerSight).shape(), Qt::BitmapCursor);

    EXPECT_EQ(splashPicture().size(), QSize(548, 142));
    EXPECT_EQ(windowIcon().pixmap(32, 32).size(), QSize(32, 32));
}

TEST(ArtworkTest, AxisIndicatorsTellAllFourCombinationsApartInTheVisibleArea)
{
    // The indicator box is 450 twips square: only 30 x 30 pixels show.
    const QRect visible(0, 0, 30, 30);
    const int ks[] = {kPointerAxisLinLin, kPointerAxisLinLog, kPointerAxisLogLin, kPointerAxisLogLog};
    QImage shown[4];
    for (int i = 0; i < 4; ++i) {
        const QImage full = pointerImage(ks[i]).toImage();
        shown[i] = full.copy(visible);
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                if (!visible.contains(x, y)) {
                    ASSERT_EQ(qAlpha(full.pixel(x, y)), 0) << "image " << ks[i] << " draws outside at " << x << "," << y;
                }
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) {
            int differing = 0;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x)
                    differing += shown[a].pixel(x, y) != shown[b].pixel(x, y);
            // More than a stray pixel or two: the difference must be seen at a glance.
            EXPECT_GT(differing, 40) << ks[a] << " vs " << ks[b];
        }
}

// Each drawing tool's cursor marks the pixels the tool changes when clicked at
// the hot spot, so what the user aims at is what gets drawn or erased.
TEST(ArtworkTest, ToolCursorsMarkThePixelsTheToolChanges)
{
    struct Case {
        const char* name;
        int k;
        int drawWidth;
        QColor ground;
        std::function<void(PictureBox&, double x, double y)> click;
    };
    const Case cases[] = {
        {"pen", kPointerPen, 1, Qt::white, [](PictureBox& b, double x, double y) { b.pset(x - 30, y + 30, Qt::black); }},
        {"horizontal eraser", kPointerHErase, 1, Qt::black,
         [](PictureBox& b, double, double y) { b.line(0, y + 60, b.scaleWidth(), y + 60, Qt::white); }},
        {"vertical eraser", kPointerVErase, 1, Qt::black,
         [](PictureBox& b, double x, double) { b.line(x - 80, 0, x - 80, b.scaleHeight(), Qt::white); }},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (int k = kPointerEraseFirst; k < kPointerEraseFirst + 3; ++k) {
        all.push_back({"eraser", k, 2, Qt::black, [k](PictureBox& b, double x, double y) {
                           const double w = eraserHalfSizeTwips(k);
                           b.setFillSolid(true);
                           b.box(x - w, y - w, x + w, y + w, Qt::white);
                           b.setFillSolid(false);
                       }});
    }

    int lastEraserSide = 0;
    for (const Case& c : all) {
        SCOPED_TRACE(std::string(c.name) + " image " + std::to_string(c.k));
        PictureBox box;
        box.image() = QImage(80, 80, QImage::Format_RGB32);
        box.image().fill(c.ground);
        box.setDrawWidth(c.drawWidth);
        const QImage before = box.image().copy();
        const QPoint mouse(40, 40);
        c.click(box, mouse.x() * 15.0, mouse.y() * 15.0);
        const QList<QPoint> changed = changedPixels(before, box.image(), mouse);
        ASSERT_FALSE(changed.isEmpty());

        const QImage cursor = pointerImage(c.k).toImage();
        const QPoint hot = pointerHotSpot(c.k);
        EXPECT_EQ(pointerCursor(c.k).hotSpot(), hot);
        QList<QPoint> marked;
        for (const QPoint& d : changed)
            if (cursor.rect().contains(hot + d))
                marked << d;
        ASSERT_FALSE(marked.isEmpty()) << "the changed pixels lie off the cursor";
        if (c.k >= kPointerEraseFirst) {
            // The black frame is the outermost ring of the erased square.
            QList<QPoint> ink;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (isBlackInk(cursor.pixel(x, y)))
                        ink << QPoint(x, y) - hot;
            EXPECT_EQ(boundsOf(ink), boundsOf(changed));
            EXPECT_GT(boundsOf(changed).width(), lastEraserSide);
            lastEraserSide = boundsOf(changed).width();
        } else if (c.k == kPointerPen) {
            // The point lands on the very tip: the ink pixel furthest down and left.
            QPoint tip;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (isBlackInk(cursor.pixel(x, y)) && (tip.isNull() || y - x > tip.y() - tip.x()))
                        tip = QPoint(x, y);
            EXPECT_EQ(tip, hot + changed.front());
        } else {
            int inked = 0;
            for (const QPoint& d : marked)
                inked += isBlackInk(cursor.pixel(hot + d));
            EXPECT_GE(inked, marked.size() * 9 / 10);
        }
    }
}
