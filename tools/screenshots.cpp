// Renders the main window, its dialogs and the About box to PNG files, and the
// steps of digitising a graph on a real gnuplot picture, for the README and for
// looking at the program without a display:
//   QT_QPA_PLATFORM=offscreen build/orvanta_screenshots docs/ [picture]
#include "support/MainWindowHarness.h"

#include "platform/picture/QtPictureLoader.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace {

bool dark(QRgb p) { return qRed(p) <= 100 && qGreen(p) <= 100 && qBlue(p) <= 100; }

// The plot frame of a gnuplot graph: the outermost columns and rows that are
// dark over most of their length.
QRect plotFrame(const QImage& img)
{
    // The first and last of `lines` lines of `length` pixels that are mostly dark.
    const auto outermost = [&img](int lines, int length, auto pixel) {
        int first = -1, last = -1;
        for (int i = 0; i < lines; ++i) {
            int n = 0;
            for (int j = 0; j < length; ++j)
                n += dark(pixel(i, j));
            if (n > length * 3 / 4) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        return std::pair{first, last};
    };
    const auto [left, right] = outermost(img.width(), img.height(), [&img](int x, int y) { return img.pixel(x, y); });
    const auto [top, bottom] = outermost(img.height(), img.width(), [&img](int y, int x) { return img.pixel(x, y); });
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Moves a marker so that its point (anchorX, anchorY), in twips from its
// top-left, lands on canvas pixel `to`.
void dragTo(MainWindowHarness& h, const char* name, const TwipsRect& now, float anchorX, float anchorY, QPoint to)
{
    h.dragMarker(name, to.x() - qRound((now.left + anchorX) / 15.0), to.y() - qRound((now.top + anchorY) / 15.0));
}

// The window as the user sees it with `menuName` dropped down and `item` under the pointer.
QImage withMenu(MainWindowHarness& h, const char* menuName, const char* item)
{
    auto* menu = h.find<QMenu>(menuName);
    QMenuBar* bar = h.window->menuBar();
    bar->setActiveAction(menu->menuAction());
    QApplication::processEvents();
    menu->setActiveAction(h.find<QAction>(item));
    QApplication::processEvents();
    QImage shot = h.window->grab().toImage();
    QPainter p(&shot);
    p.drawPixmap(h.window->mapFromGlobal(menu->pos()), menu->grab());
    p.end();
    menu->hide();
    bar->setActiveAction(nullptr);
    return shot;
}

// A yellow ring drawn into a screenshot to point at something on it.
void ring(QImage& shot, QPoint centre)
{
    QPainter p(&shot);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 200, 0, 220), 3));
    p.drawEllipse(centre, 14, 14);
}

// The five steps of digitising the sine of the trace fixtures, on the real
// picture loader.
bool tutorial(const QString& outDir)
{
    QtPictureLoader loader;
    MainWindowHarness h;
    h.fakes.pictures = &loader;
    h.fakes.files.openAnswers.push_back(QStringLiteral(ORVANTA_FIXTURES "/trace/sine.png"));
    h.window = std::make_unique<frmMainPic>(h.fakes.platform());
    if (!h.window->Form_Load())
        return false;
    h.window->show();
    if (!QTest::qWaitForWindowExposed(h.window.get()))
        return false;
    QApplication::processEvents();
    withMenu(h, "mnuFile", "mnuFileOpen").save(outDir + "/tutorial-1-open.png");

    // Reference 1 on the bottom-left corner of the plot frame (0, -1.5),
    // reference 2 on the top-right one (10, 1.5).
    const QImage picture = h.canvas()->image().copy();
    const QRect frame = plotFrame(picture);
    dragTo(h, "lblXY1", h.window->markers().lblXY1, 60, 60, frame.bottomLeft());
    dragTo(h, "lblXY2", h.window->markers().lblXY2, 60, 60, frame.topRight());
    // Then the arrow keys put reference 2 exactly on the frame's top-right
    // pixel of the picture (423, 17), with the loupe showing it.
    const CanvasPictureMapping map(h.canvas()->image().size(), QSize(447, 335));
    const AxisCalibration& c = h.window->calibration();
    for (int i = 0; i < 8 && map.x().toPicture(c.refX2Pos) < 423.5 - 1e-3; ++i)
        QTest::keyClick(h.window->focusWidget(), Qt::Key_Right);
    for (int i = 0; i < 8 && map.x().toPicture(c.refX2Pos) > 423.5 + 1e-3; ++i)
        QTest::keyClick(h.window->focusWidget(), Qt::Key_Left);
    for (int i = 0; i < 8 && map.y().toPicture(c.refY2Pos) < 17.5 - 1e-3; ++i)
        QTest::keyClick(h.window->focusWidget(), Qt::Key_Down);
    for (int i = 0; i < 8 && map.y().toPicture(c.refY2Pos) > 17.5 + 1e-3; ++i)
        QTest::keyClick(h.window->focusWidget(), Qt::Key_Up);
    QApplication::processEvents();
    QImage markers = h.window->grab().toImage();
    const QPoint canvasAt = h.canvas()->mapTo(h.window.get(), QPoint(0, 0));
    ring(markers, canvasAt + frame.bottomLeft());
    ring(markers, canvasAt + frame.topRight());
    markers.save(outDir + "/tutorial-2-markers.png");

    h.withDialog("frmXYSetting", [&](QWidget* d) {
        const char* boxes[] = {"txtX1", "txtY1", "txtX2", "txtY2"};
        const char* values[] = {"0", "-1.5", "10", "1.5"};
        for (int i = 0; i < 4; ++i)
            d->findChild<QLineEdit*>(boxes[i])->setText(values[i]);
        QApplication::processEvents();
        QImage shot = h.window->grab().toImage();
        QPainter p(&shot);
        p.drawPixmap(QPoint((shot.width() - d->width()) / 2, (shot.height() - d->height()) / 2), d->grab());
        p.end();
        shot.save(outDir + "/tutorial-3-reference.png");
        QTest::mouseClick(d->findChild<QPushButton*>("cmdSettei"), Qt::LeftButton);
    }, [&] { h.window->cmdAutoTraseSetting_Click(); });
    if (!h.window->calibration().coordinatesSet)
        return false;

    // The start point on the curve a little inside the frame, the end line a
    // little before its right edge; then the trace.
    const int startCol = frame.left() + 6;
    int startRow = -1;
    for (int y = frame.top() + 2; y < frame.bottom() - 1 && startRow < 0; ++y)
        startRow = dark(picture.pixel(startCol, y)) ? y : -1;
    const TwipsRect start = h.window->markers().lblStartPointC;
    dragTo(h, "lblStartPointC", start, start.width / 2, start.height / 2, QPoint(startCol, startRow));
    dragTo(h, "lblEndLine", h.window->markers().lblEndLine, -30, 0, QPoint(frame.right() - 6, 0));
    h.window->tbToolbar_ButtonClick(8);
    QApplication::processEvents();
    h.window->grab().save(outDir + "/tutorial-4-trace.png");
    withMenu(h, "mnuFile", "mnuFileSave").save(outDir + "/tutorial-5-save.png");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    MainWindowHarness h;
    QtPictureLoader realLoader;
    QImage picture = samplePicture(600, 400);
    if (argc > 2) {
        h.fakes.pictures = &realLoader;
        h.fakes.files.openAnswers.push_back(QString::fromLocal8Bit(argv[2]));
        h.window = std::make_unique<frmMainPic>(h.fakes.platform());
        if (!h.window->Form_Load())
            return 1;
        h.window->show();
        if (!QTest::qWaitForWindowExposed(h.window.get()))
            return 1;
    } else if (!h.start(picture)) {
        return 1;
    }
    QApplication::processEvents();
    h.window->grab().save(outDir + "/main-window.png");

    h.window->showMaximized();
    QApplication::processEvents();
    QTest::qWait(50);
    h.window->grab().save(outDir + "/main-window-maximised.png");
    h.window->showNormal();
    QApplication::processEvents();

    auto grabDialog = [&](const char* name, const char* file, std::function<void()> open) {
        h.withDialog(name, [&](QWidget* d) {
            QApplication::processEvents();
            d->grab().save(outDir + "/" + file);
            d->close();
        }, open);
    };
    grabDialog("frmXYSetting", "reference-dialog.png", [&] { h.window->cmdAutoTraseSetting_Click(); });
    grabDialog("frmTraseSet", "trace-settings.png", [&] { h.window->mnuToolTraseSetting_Click(); });
    grabDialog("frmPicColorSet", "binarise-dialog.png", [&] { h.window->mnuToolDiValue_Click(); });
    grabDialog("frmAbout", "about.png", [&] { h.window->mnuHelpAbout_Click(); });
    h.window.reset();
    return tutorial(outDir) ? 0 : 1;
}
