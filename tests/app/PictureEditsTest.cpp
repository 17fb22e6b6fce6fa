// Binarisation, automatic erasure and undo as the user runs them from the menus.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QProgressBar>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// White pictures the size of the canvas, so that they reach it pixel for pixel:
// a short red stroke, and for the grid a full-width and a full-height black
// line and a row black over half its width.
QImage canvasPicture(const MainWindowHarness& h, bool grid, QColor ground = Qt::white)
{
    QImage img(h.canvas()->size(), QImage::Format_RGB32);
    img.fill(ground);
    for (int x = 0; grid && x < img.width(); ++x) {
        img.setPixel(x, 200, qRgb(0, 0, 0));
        img.setPixel(x, 250, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    for (int y = 0; grid && y < img.height(); ++y)
        img.setPixel(300, y, qRgb(0, 0, 0));
    for (int x = 50; ground == Qt::white && x < 90; ++x)
        img.setPixel(x, 60, qRgb(220, 20, 20));
    return img;
}

int redPixels(const MainWindowHarness& h) { return countPixels(h.canvas()->image(), qRgb(255, 0, 0)); }

// Traces from the start cross moved onto `row` with the coordinate tool.
void traceOnce(MainWindowHarness& h, int row)
{
    h.window->tbToolbar_ButtonClick(5);
    const TwipsRect& start = h.window->markers().lblStartPointC;
    h.dragMarker("lblStartPointC", 0, row - static_cast<int>((start.top + start.height / 2) / 15));
    h.confirmCalibration("0", "0", "1", "1");
    h.window->tbToolbar_ButtonClick(8);
    ASSERT_GT(redPixels(h), 0) << "the trace drew its circles";
}

TEST(PictureEdits, BinariseAndAutoEraseChangeTheWholeCanvasOnceAndUndoBringsItBack)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.open(canvasPicture(h, true));
    const QImage grid = canvasPicture(h, true);
    const auto binarise = [&h](std::function<void(QWidget*)> inDialog) {
        h.withDialog("frmPicColorSet", inDialog, [&h] { h.window->mnuToolDiValue_Click(); });
    };
    binarise([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(h.canvas()->image(), grid);
    EXPECT_FALSE(h.find<QAction>("mnuEditUndo")->isEnabled());
    h.fakes.colors.answer = qRgb(255, 0, 0);
    binarise([](QWidget* d) {
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorSet"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QWidget*>("cmdColorOptionSet"), Qt::LeftButton);
    });
    EXPECT_EQ(countPixels(h.canvas()->image(), 0), 40) << "only the red stroke is near the curve colour";
    EXPECT_EQ(h.canvas()->image().pixel(60, 60) & 0xffffff, 0u);
    EXPECT_TRUE(h.status().isEmpty());
    EXPECT_EQ(h.find<QProgressBar>("ProgressBar1")->value(), 0);
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), grid);

    h.window->tbToolbar_ButtonClick(1); // pen: markers hidden
    h.window->mnuToolAutoErase_Click();
    // Rows are judged over the canvas width, columns over its height: the half
    // black row goes, the stroke stays.
    EXPECT_EQ(h.canvas()->image(), canvasPicture(h, false));
    EXPECT_TRUE(h.find("linX1")->isVisible() && h.find("lblY2Index")->isVisible()) << "calibration markers come back";
    EXPECT_FALSE(h.find("lblStartPointC")->isVisible());
    EXPECT_TRUE(h.status().isEmpty());
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), grid);
    traceOnce(h, 200);
    h.window->mnuToolAutoErase_Click();
    EXPECT_EQ(h.canvas()->image(), canvasPicture(h, false)) << "erased from the picture without trace marks";

    h.open(canvasPicture(h, false, QColor(150, 150, 150)));
    h.window->mnuToolAutoErase_Click();
    EXPECT_EQ(h.canvas()->image(), canvasPicture(h, false, QColor(150, 150, 150)));
}

TEST(PictureEdits, UndoAfterATraceStaysUndoneThroughToolsAndResizes)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture(400, 300)));
    // A pen dot near the top, away from the curve the tracer follows.
    const auto dotShown = [&h] { return countPixels(h.canvas()->image().copy(150, 0, 100, 40), qRgb(0, 0, 0)) > 0; };
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 20));
    ASSERT_TRUE(dotShown());
    traceOnce(h, h.canvas()->height() / 2);
    const int traced = redPixels(h);
    h.resizeClient(650, 450);
    EXPECT_EQ(redPixels(h), 0) << "a re-layout repaints without marks";
    h.resizeClient(591, 407);

    h.window->mnuEditUndo_Click();
    for (int button : {1, 5, 11}) {
        h.window->tbToolbar_ButtonClick(button);
        EXPECT_FALSE(dotShown()) << "button " << button << " brought back the undone dot";
    }
    h.resizeClient(600, 420);
    EXPECT_FALSE(dotShown());
    EXPECT_TRUE(h.find<QAction>("mnuEditRedo")->isEnabled());
    h.resizeClient(591, 407);
    h.window->mnuEditRedo_Click();
    EXPECT_TRUE(dotShown());
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(redPixels(h), traced) << "the next trace starts from the redone picture";
    h.window->tbToolbar_ButtonClick(6);
    EXPECT_TRUE(dotShown());
}

// Undo after an open goes back to a picture opened before. The loaded picture
// says nothing about it: the trace keeps the canvas answers (whole canvas
// rows) rather than refining them on another picture's ink, and the loupe
// stays away.
TEST(PictureEdits, UndoBackPastAnOpenMeasuresOnTheCanvasOnly)
{
    const auto lineAt = [](int row) {
        QImage img(1600, 1200, QImage::Format_RGB32);
        img.fill(Qt::white);
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, row, qRgb(0, 0, 0));
        return img;
    };
    MainWindowHarness h;
    ASSERT_TRUE(h.start(lineAt(600)));
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 20));
    h.open(lineAt(599));  // a picture pixel higher: inside the same dark canvas row
    h.window->mnuEditUndo_Click();
    traceOnce(h, 167);
    const QStringList lines = h.window->dataSheetText().split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 10);
    for (const QString& line : lines) {
        // With 0 and 1 typed for references 144 pixels apart, a canvas row is a
        // whole multiple of 1/144.
        const double y = line.section('\t', 1).toDouble() * 144;
        EXPECT_NEAR(y, std::round(y), 0.02) << line.toStdString();
    }
    // Keeping the unsaved lines at the clear button keeps the trace marks too.
    const int traced = redPixels(h);
    h.fakes.messages.saveAnswer = SaveChoice::Cancel;
    h.window->tbToolbar_ButtonClick(11);
    EXPECT_EQ(redPixels(h), traced);
    EXPECT_EQ(h.window->dataSheetText().split('\n', Qt::SkipEmptyParts), lines);
    h.window->tbToolbar_ButtonClick(6);
    h.moveOnCanvas({200, 100});
    QWidget* loupe = h.find("loupe");
    EXPECT_TRUE(!loupe || !loupe->isVisible());
}

} // namespace
