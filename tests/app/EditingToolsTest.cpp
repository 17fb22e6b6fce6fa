// Pen and erasers on the real canvas, driven with mouse events: each tool's
// cursor marks the pixels its click changes, and each stroke is one undo step.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QPolygon>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The pixels of img for which pred(colour, position) holds, relative to origin.
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

TEST(EditingTools, EachToolChangesThePixelsItsCursorMarks)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    // Tool button, right clicks before (the eraser's size), the ground.
    const std::tuple<int, int, QColor> cases[] = {{1, 0, Qt::white}, {2, 0, Qt::black}, {3, 0, Qt::black},
        {4, 0, Qt::black}, {4, 1, Qt::black}, {4, 1, Qt::black}, {4, 1, Qt::black}};
    const QPoint mouse(150, 150);
    std::vector<int> eraserSides;
    for (const auto& [button, rightClicks, ground] : cases) {
        SCOPED_TRACE(testing::Message() << "button " << button << ", eraser size " << eraserSides.size());
        h.window->tbToolbar_ButtonClick(button);
        for (int i = 0; i < rightClicks; ++i)
            QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, mouse);
        h.canvas()->image().fill(ground);
        const QImage before = h.canvas()->image().copy();
        QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, mouse);
        const QList<QPoint> changed =
            pixelsWhere(h.canvas()->image(), [&](QRgb px, QPoint p) { return px != before.pixel(p); }, mouse);
        ASSERT_FALSE(changed.isEmpty());

        const QCursor cursor = h.canvas()->cursor();
        const QImage art = cursor.pixmap().toImage();
        const QList<QPoint> ink = pixelsWhere(art, [](QRgb px, QPoint) { return qAlpha(px) >= 200 && qGray(px) <= 40; }, cursor.hotSpot());
        QList<QPoint> marked;
        std::copy_if(changed.begin(), changed.end(), std::back_inserter(marked),
                     [&](QPoint d) { return art.rect().contains(cursor.hotSpot() + d); });
        ASSERT_FALSE(marked.isEmpty()) << "the changed pixels lie off the cursor";
        if (button == 1) { // the point lands on the very tip: the ink pixel furthest down and left
            const auto tip = std::max_element(ink.begin(), ink.end(), [](QPoint a, QPoint b) { return a.y() - a.x() < b.y() - b.x(); });
            EXPECT_EQ(changed, QList<QPoint>{*tip});
        } else if (button == 4) { // the black frame is the outermost ring of the erased square
            EXPECT_EQ(QPolygon(ink).boundingRect(), QPolygon(changed).boundingRect());
            eraserSides.push_back(QPolygon(changed).boundingRect().width());
        } else {
            EXPECT_GE(std::count_if(marked.begin(), marked.end(), [&](QPoint d) { return ink.contains(d); }), marked.size() * 9 / 10);
        }
    }
    // Right clicks grow the square; the third brings back the first size.
    EXPECT_TRUE(eraserSides[0] < eraserSides[1] && eraserSides[1] < eraserSides[2] && eraserSides[3] == eraserSides[0]);
}

TEST(EditingTools, PenDrawsWithTheLeftButtonAloneConfinesThePointerAndUndoesStrokeByStroke)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture(400, 300, Qt::white)));
    const auto black = [&h] { return countPixels(h.canvas()->image(), 0); };
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_FALSE(h.find<QAction>("mnuEditUndo")->isEnabled()) << "a right click takes no snapshot";
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mousePress(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_TRUE(h.fakes.pointer.rect.has_value()) << "the pen confines the pointer while drawing";
    h.moveOnCanvas({90, 50}, Qt::LeftButton);
    h.moveOnCanvas({90, 80}, Qt::LeftButton | Qt::RightButton); // both buttons: nothing drawn
    QTest::mouseRelease(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 80));
    EXPECT_FALSE(h.fakes.pointer.rect.has_value()) << "the release lifts the confinement";
    EXPECT_EQ(countPixels(h.canvas()->image().copy(48, 52, 41, 1), 0), 41);
    EXPECT_EQ(black(), 42) << "a dot, a line, nothing from the right button";
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(black(), 1);
    h.window->mnuEditRedo_Click();
    EXPECT_EQ(black(), 42);
}

} // namespace
