// The whole road on real graphs drawn by gnuplot, at the first window size:
// open, drag the reference markers near the plot frame's corners and put them
// exactly on them with the arrow keys, type the frame's values, binarise where
// the graph needs it, put the start marker on the curve and the end line near
// the frame's right edge, trace, save, and compare every saved point with the
// plotted function.
#include "support/MainWindowHarness.h"

#include "platform/NumberText.h"
#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Graph {
    const char* file;
    // The plot frame's lines, as fractions of the picture's width and height
    // (tests/fixtures/trace/README.md): left, top, right, bottom.
    double left, top, right, bottom;
    double x1, y1, x2, y2;  // values at the frame's bottom-left and top-right corners
    bool logY;
    double from, to;        // the traced stretch of x
    QRgb binarise;          // the curve colour to binarise against; 0 for none
    double (*f)(double);
    // What the trace must reach: the share of recorded columns with a point,
    // and the RMS and worst error in canvas pixels.
    double cover, rms, worst;
    int wider = 0;          // how much wider than at first the window is made
    // The sheet the trace saved before it learnt to hold the curve; where the
    // plain column walk stays on the curve, the trace must still save it.
    const char* before = nullptr;
};

// Where graph point (x, y) lies on a canvas of `canvas` pixels, in twips, and
// its height in canvas pixels above the frame's bottom.
QPointF twipsOf(const Graph& g, QSize canvas, double x, double y)
{
    const double u = (x - g.x1) / (g.x2 - g.x1);
    const double v = g.logY ? std::log(y / g.y1) / std::log(g.y2 / g.y1) : (y - g.y1) / (g.y2 - g.y1);
    const double fx = g.left + u * (g.right - g.left), fy = g.bottom + v * (g.top - g.bottom);
    return {(fx * canvas.width() - 0.5) * 15, (fy * canvas.height() - 0.5) * 15};
}

// The graph x at canvas position `twips` on the plotted frame.
double graphX(const Graph& g, QSize canvas, double twips)
{
    const double fx = (twips / 15 + 0.5) / canvas.width();
    return g.x1 + (fx - g.left) / (g.right - g.left) * (g.x2 - g.x1);
}

// The canvas position (twips) of a saved point under the calibration `c`.
QPointF placedTwips(const AxisCalibration& c, double x, double y)
{
    const double u = (x - c.x1Value) / (double(c.x2Value) - c.x1Value);
    const double v = c.yLinear ? (y - c.y1Value) / (double(c.y2Value) - c.y1Value)
                               : std::log(y / c.y1Value) / std::log(double(c.y2Value) / c.y1Value);
    return {c.refX1Pos + u * (double(c.refX2Pos) - c.refX1Pos), c.refY1Pos + v * (double(c.refY2Pos) - c.refY1Pos)};
}

// Drags a marker so that its point `anchor` (twips from its top-left) lands on
// the canvas pixel nearest to `twips`, as a user lines it up by eye.
void dragNear(MainWindowHarness& h, const char* name, const TwipsRect& now, QPointF anchor, QPointF twips)
{
    const auto pixel = [](double t) { return roundHalfEven32(t / 15); };
    h.dragMarker(name, pixel(twips.x()) - pixel(now.left + anchor.x()), pixel(twips.y()) - pixel(now.top + anchor.y()));
}

// Presses the arrow keys until `at` is as near to `target` as their steps go.
void arrowTo(QWidget* keys, const float& at, double target, Qt::Key less, Qt::Key more)
{
    const Qt::Key toward = at < target ? more : less;
    double previous = at;
    while (toward == more ? at < target : at > target) {
        previous = at;
        QTest::keyClick(keys, toward);
        ASSERT_NE(previous, at) << "stuck short of " << target;
    }
    if (std::abs(previous - target) < std::abs(at - target))
        QTest::keyClick(keys, toward == more ? less : more);
}

QByteArray fixtureBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void traceAndCheck(const Graph& g)
{
    SCOPED_TRACE(testing::Message() << g.file << " " << g.wider);
    QtPictureLoader loader;
    MainWindowHarness h;
    h.fakes.pictures = &loader;
    h.fakes.files.openAnswers.push_back(QStringLiteral(ORVANTA_FIXTURES "/trace/") + g.file);
    h.window = std::make_unique<frmMainPic>(h.fakes.platform());
    ASSERT_TRUE(h.window->Form_Load()) << h.fakes.messages.shown.join("; ").toStdString();
    h.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get()));
    if (g.wider)
        h.resizeClient(h.window->width() + g.wider, h.window->centralWidget()->height());
    const QSize canvas = h.canvas()->image().size();
    const AxisCalibration& c = h.window->calibration();
    const MarkerGeometry& m = h.window->markers();

    for (const auto& [name, square, x, y, corner] :
         {std::tuple{"lblXY1", &m.lblXY1, &c.refX1Pos, &c.refY1Pos, twipsOf(g, canvas, g.x1, g.y1)},
          std::tuple{"lblXY2", &m.lblXY2, &c.refX2Pos, &c.refY2Pos, twipsOf(g, canvas, g.x2, g.y2)}}) {
        dragNear(h, name, *square, {60, 60}, corner);
        // The press gave the marker the keyboard.
        QWidget* keys = h.window->focusWidget();
        ASSERT_EQ(keys, h.find(name));
        arrowTo(keys, *x, corner.x(), Qt::Key_Left, Qt::Key_Right);
        arrowTo(keys, *y, corner.y(), Qt::Key_Up, Qt::Key_Down);
    }
    h.confirmCalibration(formatDouble(g.x1), formatDouble(g.y1), formatDouble(g.x2), formatDouble(g.y2), false,
                         g.logY, "4");
    ASSERT_TRUE(c.coordinatesSet);
    if (g.binarise) {
        h.fakes.colors.answer = g.binarise;
        h.withDialog("frmPicColorSet", [](QWidget* d) {
            QTest::mouseClick(d->findChild<QWidget*>("cmdColorSet"), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QWidget*>("cmdColorOptionSet"), Qt::LeftButton);
        }, [&] { h.window->mnuToolDiValue_Click(); });
    }

    dragNear(h, "lblStartPointC", m.lblStartPointC, {67.5, 67.5}, twipsOf(g, canvas, g.from, g.f(g.from)));
    dragNear(h, "lblEndLine", m.lblEndLine, {-30, 0}, twipsOf(g, canvas, g.to, g.y1));
    h.window->tbToolbar_ButtonClick(8);

    QTemporaryDir dir;
    h.fakes.files.saveAnswers = {dir.filePath("traced")};
    h.window->mnuFileSave_Click();
    QFile saved(dir.filePath("traced.txt"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray sheet = saved.readAll();
    if (const QByteArray out = qgetenv("ORVANTA_WRITE_TRACED"); !out.isEmpty() && g.before) {
        QFile w(QString::fromLocal8Bit(out) + "/" + g.before);
        ASSERT_TRUE(w.open(QIODevice::WriteOnly));
        w.write(sheet);
    }
    if (g.before) {
        EXPECT_EQ(sheet, fixtureBytes(QStringLiteral(ORVANTA_FIXTURES "/trace/traced/") + g.before));
    }

    // Errors in canvas pixels along y, where the tracer works.
    int points = 0;
    double sumSquares = 0, worst = 0;
    for (const QByteArray& line : sheet.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> cols = line.trimmed().split('\t');
        ASSERT_EQ(cols.size(), 2) << line.toStdString();
        const auto x = parseDecimal(QString::fromLatin1(cols[0]));
        const auto y = parseDecimal(QString::fromLatin1(cols[1]));
        ASSERT_TRUE(x && y) << line.toStdString();
        // Where the trace put the point, read back through the calibration
        // the markers gave, against the function at that x: the markers rest
        // on picture pixel centres, which a frame drawn between pixels does
        // not lie on, and that offset is the placement's, not the trace's.
        const QPointF at = placedTwips(c, *x, *y);
        const double gx = graphX(g, canvas, at.x());
        const double err = (at.y() - twipsOf(g, canvas, gx, g.f(gx)).y()) / 15;
        sumSquares += err * err;
        worst = std::max(worst, std::abs(err));
        ++points;
    }
    // Every fifth column from the start to the end line, each with the curve.
    const int columns = (h.window->traceEndX() - h.window->traceStartX()) / 15;
    EXPECT_GE(points, g.cover * (columns / 5 + 1));
    EXPECT_LE(points, columns / 5 + 1);
    const double rms = std::sqrt(sumSquares / std::max(points, 1));
    EXPECT_LE(rms, g.rms);
    EXPECT_LE(worst, g.worst);
    std::printf("%s +%d: %d points, worst %.2f px, rms %.2f px; %s\n", g.file, g.wider, points, worst, rms,
                qPrintable(h.status()));
}

double sine(double x) { return std::sin(x); }
double steep(double x) { return std::tanh(3 * (x - 5)) + 0.25 * std::sin(3 * x); }

TEST(TraceEndToEnd, PlottedGraphsAtThePicturesOwnResolution)
{
    const double sineLeft = 53.5 / 447, sineTop = 17.5 / 335, sineRight = 423.5 / 447, sineBottom = 301.5 / 335;
    const double emfLeft = 95.9803 / 800, emfTop = 30.0721 / 600, emfRight = 759.9545 / 800, emfBottom = 540.0076 / 600;
    const double cairoLeft = 96.5 / 800, cairoTop = 30.5 / 600, cairoRight = 759.5 / 800, cairoBottom = 539.5 / 600;
    const double mplLeft = 96.0 / 800, mplTop = 30.0 / 600, mplRight = 760.0 / 800, mplBottom = 540.0 / 600;
    const Graph graphs[] = {
        {"sine.png", sineLeft, sineTop, sineRight, sineBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.2, 0.5, 0, "sine.txt"},
        {"exp-log.png", sineLeft, sineTop, sineRight, sineBottom, 0, 1, 6, 1000, true, 0.6, 5.9, 0,
         [](double x) { return std::exp(x); }, 0.95, 0.11, 0.25, 0, "exp-log.txt"},
        {"sine.emf", emfLeft, emfTop, emfRight, emfBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.15, 0.35, 0, "sine-emf.txt"},
        // Wider than the metafile's first rendering can measure: rendered again.
        {"sine.emf", emfLeft, emfTop, emfRight, emfBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.15, 0.35, 300, "sine-emf-wider.txt"},
        {"steep-noisy.jpg", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.6, 10, 1.6, false, 0.3, 9.7,
         qRgb(0xd0, 0x10, 0x10), steep, 0.95, 0.18, 0.6, 0, "steep-noisy.txt"},
        // Traced as they are, without any clean-up.
        {"dotted-grid.emf", emfLeft, emfTop, emfRight, emfBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.15, 0.45},
        {"dotted-grid.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0,
         sine, 0.95, 0.14, 0.85},
        {"crossing.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.15, 0.85},
        {"parallel.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.09, 0.2},
        {"dashed.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.7, 2.4},
        {"markers.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.7, 4.2},
        {"dense-grid.png", cairoLeft, cairoTop, cairoRight, cairoBottom, 0, -1.6, 10, 1.6, false, 0.3, 9.7, 0, steep,
         0.95, 0.9, 4.8},
        {"exp-labels.png", mplLeft, mplTop, mplRight, mplBottom, 0, -15, 5, 150, false, 0.1, 4.8, 0,
         [](double x) { return std::exp(x); }, 0.95, 0.15, 0.6},
        {"two-colours.png", mplLeft, mplTop, mplRight, mplBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0, sine,
         0.95, 0.65, 3.0},
        {"two-colours.png", mplLeft, mplTop, mplRight, mplBottom, 0, -1.5, 10, 1.5, false, 0.15, 9.85, 0,
         [](double x) { return 0.8 * std::cos(0.8 * x); }, 0.95, 0.25, 0.7},
    };
    for (const Graph& g : graphs)
            traceAndCheck(g);
}

// A line across the picture with a vertical line through it, traced every
// column: the crossing is bridged and shown as a guess; a start on bare
// paper is refused.
TEST(TraceEndToEnd, GuessesAreShownAndABareStartIsRefused)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture()));
    h.confirmCalibration("0", "0", "1", "1");
    h.window->traceSettings().freq = 1;
    const QSize canvas = h.canvas()->image().size();
    const MarkerGeometry& m = h.window->markers();
    const QPointF onLine(0.1 * canvas.width() * 15, (canvas.height() / 2) * 15);
    dragNear(h, "lblStartPointC", m.lblStartPointC, {67.5, 67.5}, onLine);
    dragNear(h, "lblEndLine", m.lblEndLine, {-30, 0}, {0.6 * canvas.width() * 15, onLine.y()});
    h.window->tbToolbar_ButtonClick(8);

    const int points = int(h.window->dataSheetText().count('\n'));
    EXPECT_GE(points, canvas.width() / 2);
    EXPECT_EQ(h.status(), QString("%1 点をトレースしました（うち 1 点は推定）").arg(points));
    // The crossing's circle is orange, the others red.
    const QImage shown = h.canvas()->image();
    int orange = 0, red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb p = shown.pixel(x, y);
            orange += p == qRgb(255, 140, 0);
            red += p == qRgb(255, 0, 0);
        }
    EXPECT_GT(orange, 0);
    EXPECT_GT(red, 20 * orange);

    h.window->tbToolbar_ButtonClick(5);
    dragNear(h, "lblStartPointC", m.lblStartPointC, {67.5, 67.5}, {onLine.x(), 0.1 * canvas.height() * 15});
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(h.fakes.messages.shown.last(),
              "エラー|開始点の近くに曲線が見つかりません。開始点を曲線の上に置いてください。");
    EXPECT_EQ(h.window->dataSheetText().count('\n'), points);
    EXPECT_TRUE(h.status().isEmpty());
}

} // namespace
