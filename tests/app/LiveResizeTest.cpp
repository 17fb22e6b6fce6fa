// Dragging the window edge with a large picture: every step shows the last
// canvas scaled with the markers exactly placed, and the canvas is made exact
// once the size settles, or at once for anything that reads it.
#include "raster/Stretch.h"
#include "support/MainWindowHarness.h"

#include "platform/picture/QtPictureLoader.h"
#include "raster/CanvasPictureMapping.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

namespace {

// Where each marker points on the picture, from the canvas widget's size:
// reading the canvas's pixels would make them exact.
std::vector<double> markerSpots(const MainWindowHarness& h, QSize picture)
{
    const MarkerGeometry& m = h.window->markers();
    const AxisCalibration& c = h.window->calibration();
    const CanvasPictureMapping map(h.canvas()->size(), picture);
    return {map.x().toPicture(c.refX1Pos), map.x().toPicture(c.refX2Pos), map.y().toPicture(c.refY1Pos),
            map.y().toPicture(c.refY2Pos), map.x().toPicture(m.lblStartPointC.left + m.lblStartPointC.width / 2),
            map.y().toPicture(m.lblStartPointC.top + m.lblStartPointC.height / 2),
            map.x().toPicture(m.lblEndLine.left - m.lblEndLine.width / 2)};
}

bool settles(MainWindowHarness& h)
{
    return QTest::qWaitFor([&] { return !h.canvas()->showsScaled(); }, 10'000);
}

TEST(LiveResize, TenResizesInARowKeepTheMarkersAndEndOnTheExactStretch)
{
    const QSize size(6000, 4000);
    const QImage picture = samplePicture(size.width(), size.height());
    // Read at once after the last step (a command), or left to settle.
    for (const bool waitForSettling : {false, true}) {
        SCOPED_TRACE(waitForSettling);
        MainWindowHarness h;
        ASSERT_TRUE(h.start(picture));
        h.dragMarker("lblXY1", 17, -9);
        h.dragMarker("lblStartPointC", 30, 40);
        const std::vector<double> spots = markerSpots(h, size);
        for (int i = 0; i < 10; ++i) {
            h.resizeClient(640 + 53 * i, 430 + 31 * (i % 4));
            EXPECT_TRUE(h.canvas()->showsScaled()) << "step " << i << " stretched the picture again";
            const std::vector<double> now = markerSpots(h, size);
            for (std::size_t k = 0; k < spots.size(); ++k)
                EXPECT_NEAR(now[k], spots[k], 1e-2) << "step " << i << ", spot " << k;
        }
        if (waitForSettling) {
            ASSERT_TRUE(settles(h));
        }
        const QImage canvas = h.canvas()->image();
        EXPECT_FALSE(h.canvas()->showsScaled());
        ASSERT_EQ(canvas.size(), h.canvas()->size());
        EXPECT_EQ(canvas, stretchImage(Picture::fromImage(picture).image(), canvas.size()));
        // The reference the value conversion uses is where its line is drawn.
        EXPECT_EQ(h.find("linX1")->x(), lineDrawnPixel(h.window->calibration().refX1Pos, 15, canvas.width()));
    }
}

// The program's loader, telling on which thread each rendering was asked for.
class WatchedLoader : public PictureLoader {
public:
    QtPictureLoader real;
    std::atomic<int> onUiThread = 0;
    std::atomic<int> offUiThread = 0;
    PictureLoadResult load(const QString& path, QSize vectorSize) override { return real.load(path, vectorSize); }
    PictureLoadResult renderVector(const Picture& vector, QSize size) override
    {
        count();
        return real.renderVector(vector, size);
    }
    PictureLoadResult renderVectorQuietly(const Picture& vector, QSize size) override
    {
        count();
        return real.renderVectorQuietly(vector, size);
    }

private:
    void count() { ++(QThread::currentThread() == qApp->thread() ? onUiThread : offUiThread); }
};

TEST(LiveResize, AMetafileOutgrownByTheCanvasIsRenderedAgainOffTheUiThread)
{
    WatchedLoader loader;
    MainWindowHarness h;
    h.fakes.pictures = &loader;
    ASSERT_TRUE(h.start(QImage(), QStringLiteral(ORVANTA_FIXTURES "/trace/sine.emf")));
    const QSize first = h.window->canvas()->size();
    // Past four times the first canvas, in steps.
    for (int i = 1; i <= 10; ++i)
        h.resizeClient(591 + first.width() * 4 * i / 10, 407 + first.height() * 4 * i / 10);
    EXPECT_EQ(loader.onUiThread + loader.offUiThread, 0) << "a resize waited for the helper";
    ASSERT_TRUE(settles(h));
    // Shown sharp once the rendering has come, without anyone asking for the
    // canvas: not the first rendering stretched.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !h.canvas()->settlesBeforeAccess(); }, 30'000));
    EXPECT_EQ(loader.onUiThread, 0);
    EXPECT_EQ(loader.offUiThread, 1);
    const QImage canvas = h.canvas()->image();
    const PictureLoadResult firstRendering = loader.real.load(QStringLiteral(ORVANTA_FIXTURES "/trace/sine.emf"), first * 4);
    ASSERT_TRUE(firstRendering.ok());
    ASSERT_LT(firstRendering.picture.image().width(), canvas.width());
    EXPECT_NE(canvas, stretchImage(firstRendering.picture.image(), canvas.size()));
}

} // namespace
