// Traced points measured on synthetic pictures whose curve position is known
// to a fraction of a pixel.
#include "trace/RefineTracePoint.h"

#include "platform/Numeric.h"
#include "raster/Stretch.h"
#include "trace/TraceColumn.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

QImage whitePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A straight line through (0, y0) with the given slope, drawn anti-aliased.
void drawSloped(QImage& image, double y0, double slope, double width, QColor ink)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(0, y0), QPointF(image.width(), y0 + slope * image.width()));
}

// A horizontal line of the given width centred on picture coordinate `centre`,
// each row shaded by how much of it the line covers, as an anti-aliasing
// renderer draws it.
void drawBand(QImage& image, double centre, double width, QRgb ink)
{
    for (int p = 0; p < image.height(); ++p) {
        const double cover = std::clamp(std::min(p + 1.0, centre + width / 2) - std::max(double(p), centre - width / 2), 0.0, 1.0);
        const auto mix = [&](int paper, int colour) { return int(std::lround(paper + cover * (colour - paper))); };
        const QRgb was = image.pixel(0, p);
        const QRgb shade = qRgb(mix(qRed(was), qRed(ink)), mix(qGreen(was), qGreen(ink)), mix(qBlue(was), qBlue(ink)));
        for (int q = 0; q < image.width(); ++q)
            image.setPixel(q, p, shade);
    }
}

PixelBuffer canvasOf(const QImage& canvasImage)
{
    PixelBuffer b;
    b.redim(canvasImage.width(), canvasImage.height());
    ReadPixels(canvasImage, b);
    return b;
}

struct Scene {
    QImage picture;
    PixelBuffer canvas;
    TraceEvidence evidence;

    Scene(QImage picture_, QSize canvasSize, CurveInk ink = CurveInk::dark())
        : picture(std::move(picture_)), canvas(canvasOf(stretchImage(picture, canvasSize)))
    {
        evidence = {picture, &canvas, CanvasPictureMapping(canvasSize, picture.size()), ink, 50};
    }
    // The walk's answer in canvas column x near canvas row y, refined, in
    // picture coordinates.
    std::optional<double> measure(int x, int y) const
    {
        const TraceColumnResult found = TraceColumn(canvas, x, y + 1, 50, canvas.maxY());
        if (!found.found())
            return std::nullopt;
        const TracePoint point{0, float(x * 15), float((found.row() - 1) * 15)};
        const TracePoint refined = RefineTracePoint(evidence, point);
        EXPECT_EQ(refined.xt, point.xt);
        return evidence.mapping.y().toPicture(refined.yt);
    }
};

TEST(RefineTracePoint, CentreOfAntiAliasedAndThickLinesAtEveryScale)
{
    const struct { QSize picture, canvas; double centre, width; } cases[] = {
        {{60, 60}, {60, 60}, 10.3, 1}, {{60, 60}, {60, 60}, 10.5, 1}, {{60, 60}, {60, 60}, 10.0, 1.4},
        {{60, 60}, {60, 60}, 10.8, 1}, {{60, 60}, {60, 60}, 20.6, 3}, {{60, 60}, {60, 60}, 30.5, 4},
        {{800, 600}, {447, 335}, 100.3, 1}, {{800, 600}, {447, 335}, 301.7, 2.5}, {{800, 600}, {447, 335}, 450.1, 6},
        {{160, 120}, {447, 335}, 50.3, 1}, {{160, 120}, {447, 335}, 80.75, 2},
    };
    for (const auto& c : cases) {
        QImage picture = whitePicture(c.picture);
        drawBand(picture, c.centre, c.width, qRgb(0, 0, 0));
        const Scene scene(picture, c.canvas);
        const int row = scene.evidence.mapping.y().canvasPixelOf(int(c.centre));
        const auto y = scene.measure(c.canvas.width() / 2, row);
        ASSERT_TRUE(y) << c.centre << " " << c.width;
        EXPECT_NEAR(*y, c.centre, 0.01) << c.picture.width() << " on " << c.canvas.width() << ", width " << c.width;
    }
}

TEST(RefineTracePoint, ErasedGridLineBesideTheCurveNeverPullsIt)
{
    // A dark grid row below the line, erased from the canvas: one row clear,
    // touching the line's core, touching its soft edge. Only the last costs
    // anything: that edge may be the grid's, so it is left out.
    const struct { int grid; double centre, width, pushedUpTo; } cases[] = {
        {33, 30.3, 1, 0.01}, {32, 30.3, 1, 0.01}, {31, 30.3, 1, 0.01}, {32, 30.5, 1.6, 0.25},
    };
    for (const auto& c : cases) {
        QImage picture = whitePicture({60, 60});
        drawBand(picture, c.centre, c.width, qRgb(0, 0, 0));
        drawBand(picture, c.grid + 0.5, 1, qRgb(60, 60, 60));
        Scene scene(picture, picture.size());
        for (int x = 0; x <= 60; ++x)
            scene.canvas.at(x, c.grid + 1) = Bgra{255, 255, 255, 0};
        const auto y = scene.measure(30, 30);
        ASSERT_TRUE(y) << c.grid;
        EXPECT_LE(*y, c.centre + 0.01) << "pulled toward the grid on row " << c.grid;
        EXPECT_GE(*y, c.centre - c.pushedUpTo) << "grid on row " << c.grid;
    }
}

TEST(RefineTracePoint, PenStrokeWithoutInkKeepsTheCanvasAnswer)
{
    // A pen stroke on the canvas where the picture is blank, a real line
    // eight rows below it inside the scan range: the stroke stands.
    QImage picture = whitePicture({60, 60});
    drawBand(picture, 28.5, 1, qRgb(0, 0, 0));
    Scene scene(picture, picture.size());
    for (int x = 0; x <= 60; ++x)
        scene.canvas.at(x, 21) = Bgra{0, 0, 0, 0};
    EXPECT_EQ(scene.measure(30, 20), 20.5);
}

TEST(RefineTracePoint, BinarisedPictureCountsOnlyTheCurveColour)
{
    // A red line whose soft edge touches a dark grid line; binarised against
    // red the grid is gone from the canvas and is not ink in the picture.
    BinarizeSettings red;
    red.curveColor = 0x0000ff;
    red.tolerancePercent = 30;
    QImage picture = whitePicture({60, 60});
    drawBand(picture, 20.3, 2, qRgb(255, 0, 0));
    drawBand(picture, 22.5, 1, qRgb(40, 40, 40));
    Scene scene(picture, picture.size(), CurveInk::nearColour(red));
    BinarizePixels(scene.canvas, red);
    const auto y = scene.measure(30, 20);
    ASSERT_TRUE(y);
    EXPECT_NEAR(*y, 20.3, 0.01);

    // A sloped red line crossing dark vertical grid lines: the canvas pixels
    // holding both are binarised away, and the picture columns on the grid
    // show the line through grey; the points there are still on the line.
    QImage crossed = whitePicture({120, 80});
    const auto lineY = [](double x) { return 20 + 0.4 * x; };
    for (const int x : {40, 41, 70})
        QPainter(&crossed).fillRect(x, 0, 1, 80, QColor(60, 60, 60));
    drawSloped(crossed, 20, 0.4, 2, Qt::red);
    Scene grid(crossed, crossed.size(), CurveInk::nearColour(red));
    BinarizePixels(grid.canvas, red);
    std::vector<TracePoint> points = TraceRun(grid.canvas, {1, 50}, 10 * 15, int(std::lround((lineY(10.5) - 0.5) * 15)), 100 * 15, 80);
    ASSERT_EQ(points.size(), 91u);
    RefineTracePoints(grid.evidence, points);
    for (const TracePoint& p : points)
        EXPECT_NEAR(grid.evidence.mapping.y().toPicture(p.yt), lineY(grid.evidence.mapping.x().toPicture(p.xt)), 0.06)
            << "column " << p.i + 10;
}

// A whole run over sloped anti-aliased lines drawn by Qt: the refined points
// sit on the line at their exact x, in pictures larger and smaller than the canvas.
TEST(RefineTracePoint, WholeRunOverSlopedLinesLandsOnTheLine)
{
    const struct { QSize picture; double slope, width; } cases[] = {
        {{800, 600}, 0.15, 1.5}, {{800, 600}, 0.6, 2}, {{800, 600}, 2.5, 3}, {{800, 600}, 6, 2},
        {{200, 150}, 0.3, 1.5}, {{447, 335}, 0.2, 1.5},
    };
    const QSize canvasSize(447, 335);
    for (const auto& c : cases) {
        QImage picture = whitePicture(c.picture);
        const double h = c.picture.height(), w = c.picture.width();
        const auto lineY = [&](double x) { return h * 0.3 + c.slope * (x - w * 0.3); };
        drawSloped(picture, lineY(0), c.slope, c.width, Qt::black);
        const Scene scene(picture, canvasSize);
        const CanvasPictureMapping& map = scene.evidence.mapping;
        const int startX = roundHalfEven32(map.x().toTwips(w * 0.3) + 4);
        const int startY = roundHalfEven32(map.y().toTwips(lineY(w * 0.3)));
        const int endX = roundHalfEven32(map.x().toTwips(std::min(w * 0.9, w * 0.3 + h * 0.6 / c.slope)));
        std::vector<TracePoint> points = TraceRun(scene.canvas, {1, 50}, startX, startY, endX, canvasSize.height());
        ASSERT_GT(points.size(), 20u);
        RefineTracePoints(scene.evidence, points);
        // In picture pixels across the line: on a steep line a y error is
        // mostly the slope times a tiny x error.
        double worst = 0;
        for (const TracePoint& p : points)
            worst = std::max(worst, std::abs(map.y().toPicture(p.yt) - lineY(map.x().toPicture(p.xt))));
        EXPECT_LT(worst / std::hypot(1.0, c.slope), 0.05) << c.picture.width() << " slope " << c.slope;
    }
}

} // namespace
