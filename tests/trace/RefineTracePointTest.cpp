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

// A straight line through (x, y) at the given slope, anti-aliased: each pixel
// shaded by how much of it the line covers.
void drawLine(QImage& image, QPointF through, double slope, double width, QColor ink = Qt::black)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
    const double w = image.width();
    painter.drawLine(QPointF(0, through.y() - slope * through.x()), QPointF(w, through.y() + slope * (w - through.x())));
}

QImage whitePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

struct Scene {
    QImage picture;
    PixelBuffer canvas;
    TraceEvidence evidence;

    Scene(QImage picture_, QSize canvasSize, CurveInk ink = CurveInk::dark())
        : picture(std::move(picture_))
    {
        const QImage shown = stretchImage(picture, canvasSize);
        canvas.redim(shown.width(), shown.height());
        ReadPixels(shown, canvas);
        evidence = {picture, &canvas, CanvasPictureMapping(canvasSize, picture.size()), ink, 50};
    }
    // The walk's answer in canvas column x near canvas row y, refined, in
    // picture coordinates.
    std::optional<double> measure(int x, int y) const
    {
        const TraceColumnResult found = TraceColumn(canvas, x, y + 1, 50, canvas.maxY());
        if (!found.found())
            return std::nullopt;
        const TracePoint refined = RefineTracePoint(evidence, {0, float(x * 15), float((found.row() - 1) * 15)});
        return evidence.mapping.y().toPicture(refined.yt);
    }
};

// Whole runs over lines at known sub-pixel heights and slopes, thin and thick,
// in pictures larger than the canvas, the same size and smaller: every refined
// point lies on the line at its exact x, the error measured across the line.
TEST(RefineTracePoint, WholeRunsLandOnLinesAtKnownPositions)
{
    const struct { QSize picture, canvas; double y, slope, width, within; } cases[] = {
        {{60, 60}, {60, 60}, 10.3, 0, 1, 0.01}, {{60, 60}, {60, 60}, 10.5, 0, 1, 0.01},
        {{60, 60}, {60, 60}, 10.0, 0, 1.4, 0.01}, {{60, 60}, {60, 60}, 20.6, 0, 3, 0.01},
        {{60, 60}, {60, 60}, 30.5, 0, 4, 0.01}, {{800, 600}, {447, 335}, 100.3, 0, 1, 0.01},
        {{800, 600}, {447, 335}, 301.7, 0, 2.5, 0.01}, {{800, 600}, {447, 335}, 450.1, 0, 6, 0.01},
        {{160, 120}, {447, 335}, 50.3, 0, 1, 0.01}, {{160, 120}, {447, 335}, 80.75, 0, 2, 0.01},
        {{800, 600}, {447, 335}, 180, 0.15, 1.5, 0.05}, {{800, 600}, {447, 335}, 180, 0.6, 2, 0.05},
        {{800, 600}, {447, 335}, 180, 2.5, 3, 0.05}, {{800, 600}, {447, 335}, 180, 6, 2, 0.05},
        {{200, 150}, {447, 335}, 45, 0.3, 1.5, 0.05}, {{447, 335}, {447, 335}, 100.5, 0.2, 1.5, 0.05},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << " on " << c.canvas.width() << ", y " << c.y
                                        << ", slope " << c.slope << ", width " << c.width);
        const double w = c.picture.width(), h = c.picture.height();
        const auto lineY = [&](double x) { return c.y + c.slope * (x - w * 0.3); };
        QImage picture = whitePicture(c.picture);
        drawLine(picture, {w * 0.3, c.y}, c.slope, c.width);
        const Scene scene(picture, c.canvas);
        const CanvasPictureMapping& map = scene.evidence.mapping;
        const int startX = roundHalfEven32(map.x().toTwips(w * 0.3) + 4);
        const int startY = roundHalfEven32(map.y().toTwips(lineY(w * 0.3)));
        const double endX = c.slope ? std::min(w * 0.9, w * 0.3 + h * 0.6 / c.slope) : w * 0.9;
        std::vector<TracePoint> points = TraceRun(scene.canvas, {1, 50}, startX, startY,
                                                  roundHalfEven32(map.x().toTwips(endX)), c.canvas.height());
        ASSERT_GT(points.size(), 20u);
        const std::vector<TracePoint> walked = points;
        RefineTracePoints(scene.evidence, points);
        double worst = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(points[i].xt, walked[i].xt);
            worst = std::max(worst, std::abs(map.y().toPicture(points[i].yt) - lineY(map.x().toPicture(points[i].xt))));
        }
        EXPECT_LT(worst / std::hypot(1.0, c.slope), c.within);
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
        drawLine(picture, {0, c.centre}, 0, c.width);
        QPainter(&picture).fillRect(0, c.grid, 60, 1, QColor(60, 60, 60));
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
    drawLine(picture, {0, 28.5}, 0, 1);
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
    drawLine(picture, {0, 20.3}, 0, 2, Qt::red);
    QPainter(&picture).fillRect(0, 22, 60, 1, QColor(40, 40, 40));
    Scene scene(picture, picture.size(), CurveInk::nearColour(red));
    BinarizePixels(scene.canvas, red);
    const auto y = scene.measure(30, 20);
    ASSERT_TRUE(y);
    EXPECT_NEAR(*y, 20.3, 0.01);
}

} // namespace
