// Reading values and capturing points into the data sheet on the real window.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

TEST(Capture, ReadoutFollowsTheMouseOnceCalibratedAndSightClickAppendsIt)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->tbToolbar_ButtonClick(6);
    h.clickOnCanvas({200, 150});
    EXPECT_TRUE(h.status().isEmpty());
    EXPECT_EQ(h.fakes.messages.shown, QStringList{"エラー|(X1,Y1), (X2,Y2)の座標を設定してください"});

    h.confirmCalibration("0", "0", "1000", "500");
    // References at x 800 and 5230 twips, y 3600 and 1440: pixel (200, 150)
    // reads (3000 - 800) / 4430 * 1000 and 500 - (2250 - 1440) / 2160 * 500.
    h.moveOnCanvas({200, 150});
    EXPECT_EQ(h.status(), "(x, y) = (496.6, 312.5)");
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTest::mouseClick(h.canvas(), Qt::RightButton, Qt::NoModifier, QPoint(200, 150));
    EXPECT_EQ(h.window->dataSheetText(), "496.6\t312.5\n496.6\t312.5\n");

    h.window->tbToolbar_ButtonClick(4);
    h.moveOnCanvas({120, 100});
    EXPECT_EQ(h.status(), "左クリック：消去、右クリック：サイズ変更") << "no readout with a drawing tool";
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
    // The user's unfinished last line is continued, as in any text box.
    EXPECT_TRUE(h.window->dataSheetText().startsWith("first line\nsecond"));
    EXPECT_EQ(h.window->dataSheetText().count('\t'), 1);
    EXPECT_TRUE(h.window->dataSheetText().endsWith('\n'));
    EXPECT_FALSE(sheet->textCursor().hasSelection());
}

TEST(Capture, TheDataSheetShowsBothColumnsWholeAtEveryFigureSetting)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
    // The widest values of each setting: negative, with a two-digit exponent or
    // with as many leading zeros as the number form has.
    const std::pair<const char*, const char*> widest[] = {
        {"-8E-88", "-0.8"}, {"-8.8E-88", "-0.088"}, {"-8.88E-88", "-0.00888"}, {"-8.888E-88", "-0.0008888"}};
    for (int figures = 1; figures <= 4; ++figures) {
        SCOPED_TRACE(figures);
        h.confirmCalibration("0", "0", "1", "1", false, false, QString::number(figures));
        const auto [exponent, zeros] = widest[figures - 1];
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("%1\t%2\n").arg(i % 2 ? exponent : zeros, i % 2 ? zeros : exponent);
        sheet->setPlainText(text);
        QApplication::processEvents();
        EXPECT_TRUE(sheet->verticalScrollBar()->isVisible());
        EXPECT_EQ(sheet->horizontalScrollBar()->maximum(), 0);
        // Every y starts at the same tab stop.
        const auto yStart = [sheet](int line) {
            const QTextBlock b = sheet->document()->findBlockByNumber(line);
            QTextCursor c(b);
            c.setPosition(b.position() + b.text().indexOf('\t') + 1);
            return sheet->cursorRect(c).left();
        };
        EXPECT_EQ(yStart(0), yStart(1));
    }
    EXPECT_FALSE(h.find<QLabel>("picXYLL")->pixmap().isNull());
}

TEST(Capture, TraceIsRefusedBeforeCalibrationAndWhenItCannotConvert)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->tbToolbar_ButtonClick(6);
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(h.fakes.messages.shown, QStringList{"エラー|(X1,Y1), (X2,Y2)の座標を設定してください"});
    EXPECT_EQ(h.canvas()->drawWidth(), 2);
    EXPECT_FALSE(h.find("linX1")->isVisible());

    // Both y reference lines on one row: every y conversion would divide by zero.
    h.confirmCalibration("0", "0", "10", "10");
    h.window->tbToolbar_ButtonClick(5);
    h.dragMarker("lblXY1", 0, h.find("linY2")->y() - h.find("linY1")->y());
    h.window->tbToolbar_ButtonClick(6);
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_EQ(h.fakes.messages.shown.last(), "エラー|Y1とY2の基準線が同じ位置にあります。基準線を離してください。");
    EXPECT_EQ(h.window->viewState().toolMode, ToolMode::Sight);
    EXPECT_TRUE(h.find<QAction>("tbToolbar_Sight")->isChecked());
    EXPECT_TRUE(h.fakes.system.sleeps.empty());
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());
}

} // namespace
