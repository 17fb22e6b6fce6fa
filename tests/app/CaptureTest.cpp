// Calibrating, reading values and capturing points on the real main window.
#include "support/MainWindowHarness.h"

#include "calibration/AxisCalibration.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(Capture, DraggingAReferenceMarkerMovesItsLinesAndStoresThePosition)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblXY1", 10, 4);
    const MarkerGeometry& m = h.window->markers();
    EXPECT_FLOAT_EQ(m.lblXY1.left, 740 + 150);
    EXPECT_FLOAT_EQ(m.lblXY1.top, 3540 + 60);
    EXPECT_FLOAT_EQ(m.linX1, 950);
    EXPECT_FLOAT_EQ(m.linY1, 3660);
    EXPECT_FLOAT_EQ(m.lblX1Index.left, 890 - 45);
    EXPECT_FLOAT_EQ(m.lblY1Index.top, 3600 - 60);
    EXPECT_FLOAT_EQ(h.window->calibration().refX1Pos, 950);
    EXPECT_FLOAT_EQ(h.window->calibration().refY1Pos, 3660);
    EXPECT_EQ(h.find("linX1")->x(), 950 / 15);
    // The pointer was confined for the drag and set free on release.
    EXPECT_GE(h.fakes.pointer.confines, 1);
    EXPECT_FALSE(h.fakes.pointer.rect.has_value());
    EXPECT_EQ(h.window->viewState().cursorClip,
              QRect(h.canvas()->mapToGlobal(QPoint(0, 0)), h.canvas()->size()));
}

TEST(Capture, DoubleClickThenDragMovesTheMarkerByTheDragOnly)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QWidget* marker = h.find("lblXY1");
    QTest::mouseDClick(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    h.dragMarker("lblXY1", 5, 0);
    EXPECT_FLOAT_EQ(h.window->markers().linX1, 800 + 75);
    EXPECT_FLOAT_EQ(h.window->markers().linY1, 3600);
}

TEST(Capture, AMarkerCannotBeDraggedOffTheCanvas)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblEndLine", 2000, 0);
    const QWidget* endLine = h.find("lblEndLine");
    EXPECT_LT(endLine->x(), h.canvas()->width());
    EXPECT_GE(endLine->x(), 0);
    h.dragMarker("lblXY2", -3000, -3000);
    EXPECT_GE(h.window->markers().linX2, 0);
    EXPECT_GE(h.window->markers().linY2, 0);
}

TEST(Capture, RightButtonDragConfinesButMovesNothing)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QWidget* marker = h.find("lblXY2");
    QTest::mousePress(marker, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(h.fakes.pointer.rect.has_value());
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), marker->mapToGlobal(QPointF(30, 30)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QTest::mouseRelease(marker, Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_FLOAT_EQ(h.window->markers().linX2, 5230);
    EXPECT_FALSE(h.fakes.pointer.rect.has_value());
}

TEST(Capture, MarkerDragShowsTheTypedReferenceValuesOnceCalibrated)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.dragMarker("lblXY2", 3, 3);
    EXPECT_TRUE(h.status().isEmpty()) << "not touched before the first confirmation";
    h.confirmCalibration("1.5", "-2", "100", "2000");
    h.dragMarker("lblXY2", 3, 3);
    EXPECT_EQ(h.status(), "(X2, Y2) = (100, 2000)");
    h.dragMarker("lblXY1", 1, 1);
    EXPECT_EQ(h.status(), "(X1, Y1) = (1.5, -2)");
}

TEST(Capture, ConfirmingTheDialogSetsIndicatorAndDataSheetWidth)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.confirmCalibration("1", "1", "100", "1000", true, false, "2");
    const AxisCalibration& c = h.window->calibration();
    EXPECT_TRUE(c.coordinatesSet);
    EXPECT_EQ(c.effectiveFigure, 2);
    EXPECT_FALSE(c.xLinear);
    EXPECT_EQ(h.find("rtbDataSheet")->width(), roundHalfEven32(1750 / 15.0));
    EXPECT_FALSE(h.find<QLabel>("picXYLL")->pixmap().isNull());
    // The canvas grew into the space the narrower sheet left, and the markers
    // moved with the picture stretched over it.
    EXPECT_EQ(h.canvas()->width(), h.find("rtbDataSheet")->x() - 22);
    EXPECT_NEAR(h.window->markers().linX2 / h.canvas()->scaleWidth(), 5230.0 / 6705.0, 1e-4);
}

TEST(Capture, ReadoutFollowsTheMouseAndSightClickAppendsIt)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.confirmCalibration("0", "0", "1000", "500");
    h.window->tbToolbar_ButtonClick(6);
    // Reference lines at x 800 and 5230 twips, y 3600 and 1440.
    const QPoint pixel(200, 150);
    h.moveOnCanvas(pixel);
    const float x = 200 * 15.0f, y = 150 * 15.0f;
    CursorValue ex, ey;
    updateCursorValueX(h.window->calibration(), x, ex);
    updateCursorValueY(h.window->calibration(), y, ey);
    EXPECT_EQ(h.status(), QStringLiteral("(x, y) = (%1, %2)").arg(ex.text(), ey.text()));
    EXPECT_EQ(ex.text(), "496.6");  // (3000 - 800) / 4430 * 1000, 4 figures
    EXPECT_EQ(ey.text(), "312.5");  // 500 - (2250 - 1440) / 2160 * 500

    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, pixel);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, pixel);
    QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, pixel);
    EXPECT_EQ(h.window->dataSheetText(), "496.6\t312.5\n496.6\t312.5\n");
}

TEST(Capture, ReadoutStaysQuietWithDrawingToolsAndBeforeCalibration)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.moveOnCanvas({100, 100});
    EXPECT_TRUE(h.status().isEmpty());
    h.window->tbToolbar_ButtonClick(6);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(h.fakes.messages.errors, QStringList{"(X1,Y1), (X2,Y2)の座標を設定してください"});
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());

    h.confirmCalibration("0", "0", "1", "1");
    h.window->tbToolbar_ButtonClick(4);
    EXPECT_EQ(h.status(), "左クリック：消去、右クリック：サイズ変更");
    h.moveOnCanvas({120, 100});
    EXPECT_EQ(h.status(), "左クリック：消去、右クリック：サイズ変更");
}

TEST(Capture, AppendLandsAtTheEndWhateverIsSelected)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.confirmCalibration("0", "0", "100", "100");
    auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
    sheet->setPlainText("first line\nsecond");
    QTextCursor c = sheet->textCursor();
    c.setPosition(2);
    c.setPosition(8, QTextCursor::KeepAnchor);
    sheet->setTextCursor(c);
    h.window->tbToolbar_ButtonClick(6);
    h.clickOnCanvas({60, 60});
    const QString text = h.window->dataSheetText();
    EXPECT_TRUE(text.startsWith("first line\nsecond")) << text.toStdString();
    // The user's unfinished last line is continued, as in any text box.
    EXPECT_TRUE(text.contains("second") && text.count('\t') == 1 && text.endsWith('\n'));
    EXPECT_FALSE(sheet->textCursor().hasSelection());
}

TEST(Capture, SaveWritesTheSheetWithCrLfAndNoByteOrderMark)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QTemporaryDir dir;
    h.find<QPlainTextEdit>("rtbDataSheet")->setPlainText("1.23E4\t0.0123\n-5\t0\n");
    h.fakes.files.saveAnswers = {dir.filePath("データ 1")};
    h.window->mnuFileSave_Click();
    EXPECT_EQ(h.fakes.files.lastTitle, "ﾌｧｲﾙの保存");
    EXPECT_EQ(h.fakes.files.lastFilters, (QStringList{"ﾃｷｽﾄ (*.txt)", "すべてのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(readAll(dir.filePath("データ 1.txt")), QByteArray("1.23E4\t0.0123\r\n-5\t0\r\n"));
    EXPECT_FALSE(h.window->dataSheetUnsaved());

    // Toolbar button 10 saves the same way; an empty sheet gives an empty file.
    h.window->mnuEditClear_Click();
    h.fakes.files.saveAnswers = {dir.filePath("empty.txt")};
    h.window->tbToolbar_ButtonClick(10);
    EXPECT_EQ(readAll(dir.filePath("empty.txt")), QByteArray());

    // Cancelling writes nothing and says nothing.
    h.window->mnuFileSave_Click();
    EXPECT_TRUE(h.fakes.messages.errors.isEmpty());
}

TEST(Capture, FailedSaveReportsAndKeepsTheOldFileAndTheText)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QTemporaryDir dir;
    const QString path = dir.filePath("points.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old data\r\n");
    }
    QString longSheet;
    for (int i = 0; i < 200; ++i)
        longSheet += QStringLiteral("%1\t%2\n").arg(i).arg(i * 2);
    h.find<QPlainTextEdit>("rtbDataSheet")->setPlainText(longSheet);
    h.fakes.files.saveAnswers = {path};

    // A file size limit makes the write fail half-way, as a full disk would
    // (and does so even for root, unlike a read-only folder).
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    h.window->mnuFileSave_Click();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(h.fakes.messages.errors.size(), 1);
    EXPECT_EQ(h.fakes.messages.titles.first(), "エラー");
    EXPECT_TRUE(h.fakes.messages.errors.first().contains("points.txt"));
    EXPECT_EQ(readAll(path), QByteArray("old data\r\n"));
    EXPECT_EQ(h.window->dataSheetText(), longSheet);
    EXPECT_TRUE(h.window->dataSheetUnsaved());
}

TEST(Capture, ATraceThatCannotConvertIsRefusedAndChangesNothing)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.confirmCalibration("0", "0", "10", "10");
    // Both y reference lines on one spot: every y conversion would divide by zero.
    const float dy = (h.window->markers().linY2 - h.window->markers().linY1) / 15;
    h.dragMarker("lblXY1", 0, static_cast<int>(std::lround(dy)));
    ASSERT_FLOAT_EQ(h.window->calibration().refY1Pos, static_cast<float>(h.window->calibration().refY2Pos));
    h.window->tbToolbar_ButtonClick(6);
    h.window->tbToolbar_ButtonClick(8);
    ASSERT_EQ(h.fakes.messages.errors.size(), 1);
    EXPECT_EQ(h.fakes.messages.titles.first(), "エラー");
    EXPECT_EQ(h.window->viewState().toolMode, ToolMode::Sight);
    EXPECT_TRUE(h.find<QAction>("tbToolbar_Sight")->isChecked());
    EXPECT_TRUE(h.fakes.system.sleeps.empty());
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());
}

TEST(Capture, TraceButtonRefusesBeforeCalibration)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->tbToolbar_ButtonClick(6);
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(h.fakes.messages.errors, QStringList{"(X1,Y1), (X2,Y2)の座標を設定してください"});
    EXPECT_EQ(h.window->viewState().toolMode, ToolMode::Sight);
    EXPECT_EQ(h.canvas()->drawWidth(), 2);
    EXPECT_FALSE(h.find("linX1")->isVisible());
    EXPECT_TRUE(h.fakes.system.sleeps.empty());
}

} // namespace
