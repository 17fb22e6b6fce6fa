// Pen, erasers and their undo steps on the real canvas, driven with mouse events.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

QImage solid(QColor c, int w = 400, int h = 300)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

int countPixels(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

QAction* action(const MainWindowHarness& h, const char* name) { return h.find<QAction>(name); }

TEST(EditingTools, PenClickSetsOnePixelShiftedLeftAndDownAndIsOneUndoStep)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::white)));
    const QImage before = h.canvas()->image().copy();
    h.window->tbToolbar_ButtonClick(1);
    EXPECT_EQ(h.canvas()->drawWidth(), 1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    // (1500 - 30, 1500 + 30) twips is pixel (98, 102).
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(0, 0, 0)), 1);
    EXPECT_EQ(h.canvas()->image().pixel(98, 102) & 0xffffff, 0u);
    EXPECT_TRUE(action(h, "mnuEditUndo")->isEnabled());
    EXPECT_FALSE(h.fakes.pointer.rect.has_value()) << "the release lifts the confinement";

    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), before);
    EXPECT_FALSE(action(h, "mnuEditUndo")->isEnabled());
    EXPECT_TRUE(action(h, "mnuEditRedo")->isEnabled());
}

TEST(EditingTools, PenStrokeDrawsAConnectedLineOnlyWithTheLeftButtonAlone)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::white)));
    h.window->tbToolbar_ButtonClick(1);
    QTest::mousePress(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_TRUE(h.fakes.pointer.rect.has_value()) << "the pen confines the pointer while drawing";
    h.moveOnCanvas({90, 50}, Qt::LeftButton);
    h.moveOnCanvas({90, 80}, Qt::LeftButton | Qt::RightButton);  // both buttons: nothing drawn
    QTest::mouseRelease(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 80));
    const QImage& c = h.canvas()->image();
    for (int x = 48; x <= 88; ++x)
        EXPECT_EQ(c.pixel(x, 52) & 0xffffff, 0u) << x;
    EXPECT_EQ(countPixels(c, qRgb(0, 0, 0)), 41);
}

TEST(EditingTools, LineErasersWhitenOneRowOrColumnPerClick)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::black)));
    const int w = h.canvas()->image().width();
    const int hgt = h.canvas()->image().height();

    h.window->tbToolbar_ButtonClick(2);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 150));
    // 150 px = 2250 twips; + 60 twips is row 154.
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 255, 255)), w);
    EXPECT_EQ(h.canvas()->image().pixel(0, 154) & 0xffffff, 0xffffffu);
    EXPECT_EQ(h.canvas()->image().pixel(w - 1, 154) & 0xffffff, 0xffffffu);

    h.window->tbToolbar_ButtonClick(3);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    // 1500 - 80 twips is column 94.
    EXPECT_EQ(h.canvas()->image().pixel(94, 0) & 0xffffff, 0xffffffu);
    EXPECT_EQ(h.canvas()->image().pixel(94, hgt - 1) & 0xffffff, 0xffffffu);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 255, 255)), w + hgt - 1);

    // Each erasure is its own undo step: undo brings back the row, not the column.
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 255, 255)), w);
}

TEST(EditingTools, EraserSquareGrowsWithRightClicksAndCyclesBack)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::black)));
    h.window->tbToolbar_ButtonClick(4);
    EXPECT_EQ(h.canvas()->drawWidth(), 2);

    std::vector<int> erased;
    for (int size = 0; size < 4; ++size) {
        h.window->mnuEditUndo_Click();  // back to black between squares (a no-op the first time)
        QImage start = h.canvas()->image().copy();
        start.fill(Qt::black);
        h.canvas()->image() = start;
        QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
        erased.push_back(countPixels(h.canvas()->image(), qRgb(255, 255, 255)));
        EXPECT_FALSE(h.canvas()->fillSolid()) << "fill goes back to transparent";
        const auto undoEnabled = action(h, "mnuEditUndo")->isEnabled();
        QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(150, 150));
        EXPECT_EQ(action(h, "mnuEditUndo")->isEnabled(), undoEnabled) << "a right release takes no snapshot";
    }
    EXPECT_LT(erased[0], erased[1]);
    EXPECT_LT(erased[1], erased[2]);
    EXPECT_EQ(erased[3], erased[0]) << "three right-clicks bring back the first size";
    // Side 2w: 100, 200, 300 twips, about 7, 13 and 20 pixels, plus the
    // two-pixel outline.
    EXPECT_NEAR(std::sqrt(erased[0]), 100 / 15.0 + 1, 1.5);
    EXPECT_NEAR(std::sqrt(erased[2]), 300 / 15.0 + 1, 1.5);
}

TEST(EditingTools, RightClickWithOtherToolsOnlyLiftsTheConfinement)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::white)));
    h.window->tbToolbar_ButtonClick(1);
    const int releases = h.fakes.pointer.releases;
    QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_EQ(h.fakes.pointer.releases, releases + 1);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(0, 0, 0)), 0);
    EXPECT_FALSE(action(h, "mnuEditUndo")->isEnabled());
}

} // namespace
