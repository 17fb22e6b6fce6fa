// What a desktop user expects of the main window: pictures dropped or pasted
// open like a chosen file, and Ctrl+Z.
#include "support/MainWindowHarness.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kPng = QStringLiteral(ORVANTA_FIXTURES "/graph.png");
const QString kText = QStringLiteral(ORVANTA_FIXTURES "/README.md");

bool showsRed(const MainWindowHarness& h) { return QColor(h.canvas()->image().pixel(10, 167)) == Qt::red; }

QMimeData* filesData(const QStringList& paths)
{
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
    mime->setUrls(urls);
    return mime;
}

TEST(DesktopUse, DroppedPictureFileOpensAsTheOpenCommandDoes)
{
    struct Case { const char* what; QStringList files; bool onSheet, accepted, opened; int errors; };
    const Case cases[] = {
        {"a picture file", {kPng}, false, true, true, 0}, {"a picture file on the data sheet", {kPng}, true, true, true, 0},
        {"a picture that does not load", {ORVANTA_FIXTURES "/graph.jpg"}, false, true, false, 1}, // not in the fake loader
        {"a file that is no picture", {kText}, false, false, false, 0},
        {"two picture files", {kPng, ORVANTA_FIXTURES "/graph.bmp"}, false, false, false, 0},
        {"a web address", {"https://example.org/graph.png"}, true, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowHarness h;
        ASSERT_TRUE(h.start());
        h.fakes.loader.pictures.insert(kPng, samplePicture(400, 300, Qt::red));
        auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
        sheet->setPlainText("1\t2\n");
        QWidget* target = c.onSheet ? sheet->viewport() : h.window.get();
        std::unique_ptr<QMimeData> mime(filesData(c.files));
        // Shift proposes a move; a source told "moved" may delete the file.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_EQ(enter.isAccepted(), c.accepted) << "the pointer shows whether it can drop";
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(drop.isAccepted(), c.accepted);
        EXPECT_TRUE(!c.accepted || drop.dropAction() == Qt::CopyAction);
        QApplication::processEvents(); // the file opens once the drop is over
        EXPECT_EQ(h.fakes.messages.shown.filter("確認|").size(), c.accepted ? 1 : 0) << "unsaved data is asked about";
        EXPECT_EQ(h.fakes.messages.shown.filter("エラー|").size(), c.errors);
        EXPECT_EQ(showsRed(h), c.opened);
        EXPECT_EQ(h.window->dataSheetText(), c.opened ? "" : "1\t2\n");
    }
}

TEST(DesktopUse, PasteOpensThePictureOnTheClipboardAndCtrlZUndoesWhereTheFocusIs)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.get()));
    auto* paste = h.find<QAction>("mnuFilePaste");
    QClipboard* clipboard = QGuiApplication::clipboard();
    const std::tuple<const char*, std::function<void()>, bool> cases[] = {
        {"text", [&] { clipboard->setText("1\t2"); }, false},
        {"a copied file that is no picture", [&] { clipboard->setMimeData(filesData({kText})); }, false},
        {"a copied picture file", [&] { clipboard->setMimeData(filesData({kPng})); }, true},
        {"image data", [&] { clipboard->setImage(samplePicture(300, 200, Qt::red)); }, true},
    };
    for (const auto& [what, copy, enabled] : cases) {
        copy();
        EXPECT_EQ(paste->isEnabled(), enabled) << what;
    }
    auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
    sheet->setPlainText("1\t2\n");
    paste->trigger();
    EXPECT_EQ(h.fakes.messages.shown.filter("確認|").size(), 1);
    EXPECT_TRUE(showsRed(h));
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());

    const QImage pasted = h.canvas()->image().copy();
    h.window->tbToolbar_ButtonClick(1);
    QTest::mouseClick(h.canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50)); // a pen dot
    const QImage drawn = h.canvas()->image().copy();
    ASSERT_NE(drawn, pasted);
    sheet->setFocus();
    clipboard->setText("7\t8");
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sheet->toPlainText(), "7\t8");
    QTest::keyClick(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sheet->toPlainText(), "") << "the text box's own undo";
    EXPECT_EQ(h.canvas()->image(), drawn);
    h.canvas()->setFocus();
    QTest::keyClick(h.canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(h.canvas()->image(), pasted) << "the picture's undo";
    clipboard->clear();
    EXPECT_FALSE(paste->isEnabled());
}

} // namespace
