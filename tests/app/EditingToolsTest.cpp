// Pen, erasers and their undo steps on the real canvas, driven with mouse events.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage solid(QColor c)
{
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

bool undoEnabled(const MainWindowHarness& h) { return h.find<QAction>("mnuEditUndo")->isEnabled(); }

TEST(EditingTools, PenDrawsLeftAndDownOfThePointerWithTheLeftButtonAlone)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::white)));
    h.window->tbToolbar_ButtonClick(1);
    EXPECT_EQ(h.canvas()->drawWidth(), 1);
    QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(40, 40));
    EXPECT_FALSE(undoEnabled(h)) << "a right click draws nothing and takes no snapshot";
    // (1500 - 30, 1500 + 30) twips is pixel (98, 102).
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 1);
    EXPECT_EQ(h.canvas()->image().pixel(98, 102) & 0xffffff, 0u);
    EXPECT_FALSE(h.fakes.pointer.rect.has_value()) << "the release lifts the confinement";

    QTest::mousePress(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_TRUE(h.fakes.pointer.rect.has_value()) << "the pen confines the pointer while drawing";
    h.moveOnCanvas({90, 50}, Qt::LeftButton);
    h.moveOnCanvas({90, 80}, Qt::LeftButton | Qt::RightButton);  // both buttons: nothing drawn
    QTest::mouseRelease(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 80));
    for (int x = 48; x <= 88; ++x)
        EXPECT_EQ(h.canvas()->image().pixel(x, 52) & 0xffffff, 0u) << x;
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 42);

    // Each stroke is one undo step.
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 1);
    EXPECT_FALSE(undoEnabled(h));
    h.window->mnuEditRedo_Click();
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 42);
}

TEST(EditingTools, LineErasersWhitenOneRowOrColumnPerClick)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(solid(Qt::black)));
    const int w = h.canvas()->width(), hgt = h.canvas()->height();
    h.window->tbToolbar_ButtonClick(2);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 150));
    // 150 px = 2250 twips; + 60 twips is row 154.
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 255, 255)), w);
    EXPECT_EQ(h.canvas()->image().pixel(w - 1, 154) & 0xffffff, 0xffffffu);

    h.window->tbToolbar_ButtonClick(3);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    // 1500 - 80 twips is column 94.
    EXPECT_EQ(h.canvas()->image().pixel(94, hgt - 1) & 0xffffff, 0xffffffu);
    EXPECT_EQ(countPixels(h.canvas()->image(), qRgb(255, 255, 255)), w + hgt - 1);
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
        h.canvas()->image().fill(Qt::black);
        QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
        erased.push_back(countPixels(h.canvas()->image(), qRgb(255, 255, 255)));
        EXPECT_FALSE(h.canvas()->fillSolid()) << "fill goes back to transparent";
        QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(150, 150));
    }
    // Side 100, 200 and 300 twips, about 7, 13 and 20 pixels, plus the outline.
    EXPECT_NEAR(std::sqrt(erased[0]), 100 / 15.0 + 1, 1.5);
    EXPECT_NEAR(std::sqrt(erased[1]), 200 / 15.0 + 1, 1.5);
    EXPECT_NEAR(std::sqrt(erased[2]), 300 / 15.0 + 1, 1.5);
    EXPECT_EQ(erased[3], erased[0]) << "three right-clicks bring back the first size";
}

} // namespace
