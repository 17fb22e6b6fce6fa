// The whole road on real graphs drawn by gnuplot: open, place the reference
// markers on the plot frame, type the frame's values, put the start marker on
// the curve and the end line near the right edge, trace, save, and compare
// every saved point with the plotted function.
#include "support/MainWindowHarness.h"

#include "platform/NumberText.h"
#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

bool dark(QRgb p) { return qRed(p) <= 100 && qGreen(p) <= 100 && qBlue(p) <= 100; }

// The plot frame: the outermost columns and rows that are dark over most of
// their length.
struct Frame { int left = -1, right = -1, top = -1, bottom = -1; };

Frame findFrame(const QImage& img)
{
    Frame f;
    for (int x = 0; x < img.width(); ++x) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            n += dark(img.pixel(x, y));
        if (n > img.height() * 3 / 4) {
            if (f.left < 0)
                f.left = x;
            f.right = x;
        }
    }
    for (int y = 0; y < img.height(); ++y) {
        int n = 0;
        for (int x = 0; x < img.width(); ++x)
            n += dark(img.pixel(x, y));
        if (n > img.width() * 3 / 4) {
            if (f.top < 0)
                f.top = y;
            f.bottom = y;
        }
    }
    return f;
}

// Mean row of the curve's dark pixels in one column, inside the frame.
double curveRow(const QImage& img, const Frame& f, int x)
{
    double sum = 0;
    int n = 0;
    for (int y = f.top + 2; y < f.bottom - 1; ++y)
        if (dark(img.pixel(x, y))) {
            sum += y;
            ++n;
        }
    return n ? sum / n : -1;
}

// Moves a marker so that the given point of it (in twips from its top-left)
// is nearest to canvas pixel (px, py), as a user lines it up by eye.
void dragTo(MainWindowHarness& h, const char* name, const TwipsRect& now, float anchorX, float anchorY,
            int px, int py)
{
    const int dx = px - roundHalfEven32((now.left + anchorX) / 15.0);
    const int dy = py - roundHalfEven32((now.top + anchorY) / 15.0);
    h.dragMarker(name, dx, dy);
}

struct Graph {
    const char* file;
    double x1, y1, x2, y2;  // values at the frame's bottom-left and top-right corners
    bool logY;
    int startOffset;  // start column, in pixels right of the frame
    std::function<double(double)> f;
};

void traceAndCheck(const Graph& g)
{
    QtPictureLoader loader;
    MainWindowHarness h;
    h.fakes.pictures = &loader;
    const QString path = QStringLiteral(ORVANTA_FIXTURES "/trace/") + g.file;
    h.fakes.files.openAnswers.push_back(path);
    h.window = std::make_unique<frmMainPic>(h.fakes.platform());
    ASSERT_TRUE(h.window->Form_Load()) << h.fakes.messages.shown.join("; ").toStdString();
    h.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    // The limits below are in canvas pixels, for the graph opened on a canvas
    // 447 pixels wide.
    h.resizeClient(591 + 447 - h.canvas()->width(), 407);
    h.fakes.files.openAnswers.push_back(path);
    h.window->mnuFileOpen_Click();

    const QImage picture = h.canvas()->image().copy();
    const Frame f = findFrame(picture);
    ASSERT_GT(f.right - f.left, 200);
    ASSERT_GT(f.bottom - f.top, 150);

    // Reference 1 on the bottom-left corner of the frame, reference 2 on the top-right.
    dragTo(h, "lblXY1", h.window->markers().lblXY1, 60, 60, f.left, f.bottom);
    dragTo(h, "lblXY2", h.window->markers().lblXY2, 60, 60, f.right, f.top);
    // The user sees the lines on the frame.
    ASSERT_EQ(h.find("linX1")->x(), f.left);
    ASSERT_EQ(h.find("linY1")->y(), f.bottom);
    ASSERT_EQ(h.find("linX2")->x(), f.right);
    ASSERT_EQ(h.find("linY2")->y(), f.top);
    // A drag leaves each reference exactly on the pixel its line is drawn on, so
    // the frame's own values are typed.
    h.confirmCalibration(formatDouble(g.x1), formatDouble(g.y1), formatDouble(g.x2), formatDouble(g.y2), false,
                         g.logY, "4");
    ASSERT_TRUE(h.window->calibration().coordinatesSet);

    // Start inside the frame, on the curve and clear of the frame itself; end a
    // little before the frame's right edge.
    const int startCol = f.left + g.startOffset;
    const double startRow = curveRow(picture, f, startCol);
    ASSERT_GE(startRow, 0);
    const TwipsRect start = h.window->markers().lblStartPointC;
    dragTo(h, "lblStartPointC", start, start.width / 2, start.height / 2, startCol,
           static_cast<int>(std::lround(startRow)));
    const int endCol = f.right - 6;
    dragTo(h, "lblEndLine", h.window->markers().lblEndLine, -30, 0, endCol, 0);

    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(h.fakes.system.sleeps, (std::vector<int>{1000, 1000}));
    EXPECT_TRUE(h.window->viewState().traceMarksShown);
    EXPECT_EQ(h.window->viewState().toolMode, ToolMode::XY);
    EXPECT_TRUE(h.find("linX1")->isVisible());
    EXPECT_TRUE(h.status().isEmpty());

    QTemporaryDir dir;
    h.fakes.files.saveAnswers = {dir.filePath("traced")};
    h.window->mnuFileSave_Click();
    QFile saved(dir.filePath("traced.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');

    // Errors are measured in canvas pixels along y, where the tracer works.
    // Part of what remains is by design: a point's x comes from the start
    // cross's centre, which sits mid-pixel, so x reads about half a pixel off
    // the column that was examined; on the sine's steepest stretches that is
    // over a pixel in y.
    const double pixelsPerUnit = (f.bottom - f.top) / (g.logY ? std::log10(g.y2 / g.y1) : g.y2 - g.y1);
    int points = 0;
    double sumSquares = 0, worst = 0;
    double lastX = -1e300;
    for (const QByteArray& raw : lines) {
        if (raw.isEmpty())
            continue;
        ASSERT_TRUE(raw.endsWith('\r')) << "lines end with CR LF";
        const QList<QByteArray> cols = raw.chopped(1).split('\t');
        ASSERT_EQ(cols.size(), 2) << raw.toStdString();
        const auto x = parseDecimal(QString::fromLatin1(cols[0]));
        const auto y = parseDecimal(QString::fromLatin1(cols[1]));
        ASSERT_TRUE(x && y) << raw.toStdString();
        EXPECT_GT(*x, lastX) << "points run left to right";
        lastX = *x;
        const double expected = g.f(*x);
        const double err = g.logY ? (std::log10(*y) - std::log10(expected)) * pixelsPerUnit
                                  : (*y - expected) * pixelsPerUnit;
        sumSquares += err * err;
        worst = std::max(worst, std::abs(err));
        ++points;
    }
    // Every fifth column from the start column to the end line.
    EXPECT_EQ(points, (endCol - startCol) / 5 + 1);
    const double rms = std::sqrt(sumSquares / std::max(points, 1));
    EXPECT_LE(worst, 1.5) << g.file;
    EXPECT_LT(rms, 0.75) << g.file;
    std::printf("%s: %d points, worst %.2f px, rms %.2f px\n", g.file, points, worst, rms);
}

TEST(TraceEndToEnd, SineOnLinearAxes)
{
    traceAndCheck({"sine.png", 0, -1.5, 10, 1.5, false, 6, [](double x) { return std::sin(x); }});
}

TEST(TraceEndToEnd, ExponentialOnLogarithmicY)
{
    traceAndCheck({"exp-log.png", 0, 1, 6, 1000, true, 40, [](double x) { return std::exp(x); }});
}

} // namespace
