// Reading values and capturing points into the data sheet on the real window.
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(Capture, SightClicksAppendTheReadoutOnceCalibratedAndTracesNeedConvertibleReferences)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    const QString setFirst = "エラー|(X1,Y1), (X2,Y2)の座標を設定してください";
    h.window->tbToolbar_ButtonClick(6);
    h.clickOnCanvas({200, 150});
    h.window->tbToolbar_ButtonClick(8);
    EXPECT_TRUE(h.status().isEmpty());
    EXPECT_EQ(h.fakes.messages.shown, (QStringList{setFirst, setFirst}));

    h.confirmCalibration("0", "0", "1000", "500");
    // References at x 800 and 5230 twips, y 3600 and 1440: pixel (200, 150)
    // reads (3000 - 800) / 4430 * 1000 and 500 - (2250 - 1440) / 2160 * 500.
    h.moveOnCanvas({200, 150});
    EXPECT_EQ(h.status(), "(x, y) = (496.6, 312.5)");
    // The user's unfinished last line is continued; a selection is not replaced.
    auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
    sheet->setPlainText("first line\nsecond");
    QTextCursor selection = sheet->textCursor();
    selection.setPosition(2);
    selection.setPosition(8, QTextCursor::KeepAnchor);
    sheet->setTextCursor(selection);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::LeftButton, Qt::RightButton})
        QTest::mouseClick(h.canvas(), button, Qt::NoModifier, QPoint(200, 150));
    const QString captured = "first line\nsecond496.6\t312.5\n496.6\t312.5\n";
    EXPECT_EQ(h.window->dataSheetText(), captured);
    h.window->tbToolbar_ButtonClick(4);
    h.moveOnCanvas({120, 100});
    EXPECT_EQ(h.status(), "左クリック：消去、右クリック：サイズ変更") << "no readout with a drawing tool";

    // Both reference lines of an axis on one row or column: every conversion would divide by zero.
    const std::tuple<const char*, const char*, const char*> coincident[] = {
        {"linY1", "linY2", "エラー|Y1とY2の基準線が同じ位置にあります。基準線を離してください。"},
        {"linX1", "linX2", "エラー|X1とX2の基準線が同じ位置にあります。基準線を離してください。"}};
    h.window->tbToolbar_ButtonClick(5);
    h.dragMarker("lblXY2", 0, 0); // dragged, it sits on the pixel its lines are drawn on
    for (const auto& [line1, line2, message] : coincident) {
        h.window->tbToolbar_ButtonClick(5);
        const QPoint gap = h.find(line2)->pos() - h.find(line1)->pos();
        h.dragMarker("lblXY1", line1[3] == 'X' ? gap.x() : 0, line1[3] == 'Y' ? gap.y() : 0);
        h.window->tbToolbar_ButtonClick(6);
        h.window->tbToolbar_ButtonClick(8);
        EXPECT_EQ(h.fakes.messages.shown.last(), message);
        EXPECT_TRUE(h.find<QAction>("tbToolbar_Sight")->isChecked()) << "the tool stays";
    }
    EXPECT_TRUE(h.fakes.system.sleeps.empty());
    EXPECT_EQ(h.window->dataSheetText(), captured);
}

// Each pick leaves a mark; undo takes back the last picks (line and mark) while
// they were the last action and their lines are still the sheet's end as
// added, and only then goes on to the picture edits.
TEST(Capture, PicksAreMarkedAndUndoneLastFirstWithoutTouchingTheUsersTextOrThePictureUndo)
{
    const QRect markA(97, 97, 7, 7), markB(197, 97, 7, 7);
    const auto marked = [](MainWindowHarness& h, QRect at) { return countPixels(h.canvas()->image().copy(at), qRgb(255, 0, 0)) > 0; };
    // What the user does to the sheet after the picks; the sheet and whether
    // the two marks show after one undo; whether the pen dot survives a second.
    struct Case {
        const char* what;
        std::function<void(QPlainTextEdit*)> edit;
        QString sheet;
        bool a, b, dot;
    };
    const auto typeAt = [](int position, const char* text) {
        return [=](QPlainTextEdit* sheet) {
            QTextCursor c(sheet->document());
            c.setPosition(position < 0 ? sheet->document()->characterCount() - 1 : position);
            c.insertText(text);
        };
    };
    const Case cases[] = {
        {"nothing", [](QPlainTextEdit*) {}, "700\t2100\n", true, false, true},
        {"a note typed at the top", typeAt(0, "# "), "# 700\t2100\n", true, false, true},
        {"typing after the last line", typeAt(-1, "5"), "700\t2100\n2200\t2100\n5", true, true, false},
        {"the last line edited", typeAt(10, "7"), "700\t2100\n27200\t2100\n", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowHarness h;
        ASSERT_TRUE(h.start(samplePicture(), "/pictures/graph.png"));
        h.window->tbToolbar_ButtonClick(1);
        QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20)); // a pen dot
        // References at x 800 and 5230 twips, y 3600 and 1440: values in twips from X1, Y1.
        h.confirmCalibration("0", "0", "4430", "2160");
        h.window->tbToolbar_ButtonClick(6);
        for (QPoint at : {markA.center(), markB.center()})
            QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, at); // no move first: the press is read
        ASSERT_TRUE(marked(h, markA) && marked(h, markB));
        auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
        c.edit(sheet);
        h.window->mnuEditUndo_Click();
        EXPECT_EQ(h.window->dataSheetText(), c.sheet);
        EXPECT_EQ(marked(h, markA), c.a);
        EXPECT_EQ(marked(h, markB), c.b);
        EXPECT_EQ(h.status() == "最後の点の行が変更されているため、元に戻せません", c.b);
        h.window->mnuEditUndo_Click();
        EXPECT_EQ(countPixels(h.canvas()->image().copy(15, 15, 11, 11), qRgb(0, 0, 0)) > 0, c.dot);
    }

    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.confirmCalibration("0", "0", "10", "10");
    h.window->tbToolbar_ButtonClick(6);
    const QImage clean = h.canvas()->image().copy();
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, markA.center());
    EXPECT_TRUE(h.find<QAction>("mnuEditUndo")->isEnabled());
    h.window->mnuEditUndo_Click();
    EXPECT_EQ(h.canvas()->image(), clean) << "the mark leaves no trace";
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, markA.center());
    h.window->tbToolbar_ButtonClick(5);
    EXPECT_EQ(h.canvas()->image(), clean) << "marks go with the trace marks";
    EXPECT_FALSE(h.find<QAction>("mnuEditUndo")->isEnabled()) << "the pick is no longer the last action";
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
}

} // namespace
