// What a desktop user expects of the main window: pictures dropped or pasted
// open like a chosen file, Ctrl+Z, and file dialogs that start where the user
// last was.
#include "support/MainWindowHarness.h"

#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kPng = QStringLiteral(ORVANTA_FIXTURES "/graph.png");
const QString kBmp = QStringLiteral(ORVANTA_FIXTURES "/graph.bmp");
const QString kJpg = QStringLiteral(ORVANTA_FIXTURES "/graph.jpg");  // fails in the fake loader
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
    struct Case { const char* what; QStringList files; bool onSheet; bool accepted; bool opened; int errors; };
    const Case cases[] = {
        {"a picture file", {kPng}, false, true, true, 0},
        {"a picture file on the data sheet", {kPng}, true, true, true, 0},
        {"a picture that does not load", {kJpg}, false, true, false, 1},
        {"a file that is no picture", {kText}, false, false, false, 0},
        {"two picture files", {kPng, kBmp}, false, false, false, 0},
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

        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        EXPECT_EQ(enter.isAccepted(), c.accepted) << "the pointer shows whether it can drop";
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(drop.isAccepted(), c.accepted);
        if (c.accepted)
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << "a moved file could be deleted by its source";
        QApplication::processEvents();  // the file opens once the drop is over

        EXPECT_EQ(h.fakes.messages.shown.filter("確認|").size(), c.accepted ? 1 : 0) << "unsaved data is asked about";
        EXPECT_EQ(h.fakes.messages.shown.filter("エラー|").size(), c.errors);
        EXPECT_EQ(showsRed(h), c.opened);
        EXPECT_EQ(h.window->dataSheetText(), c.opened ? "" : "1\t2\n");
    }
}

TEST(DesktopUse, PasteOpensThePictureOnTheClipboard)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    auto* paste = h.find<QAction>("mnuFilePaste");
    QClipboard* clipboard = QGuiApplication::clipboard();
    struct Case { const char* what; std::function<void()> copy; bool enabled; };
    const Case cases[] = {
        {"text", [&] { clipboard->setText("1\t2"); }, false},
        {"a copied file that is no picture", [&] { clipboard->setMimeData(filesData({kText})); }, false},
        {"a copied picture file", [&] { clipboard->setMimeData(filesData({kPng})); }, true},
        {"image data", [&] { clipboard->setImage(samplePicture(300, 200, Qt::red)); }, true},
    };
    for (const Case& c : cases) {
        c.copy();
        EXPECT_EQ(paste->isEnabled(), c.enabled) << c.what;
    }
    h.find<QPlainTextEdit>("rtbDataSheet")->setPlainText("1\t2\n");
    paste->trigger();
    EXPECT_EQ(h.fakes.messages.shown.filter("確認|").size(), 1);
    EXPECT_TRUE(showsRed(h));
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());
    clipboard->clear();
    EXPECT_FALSE(paste->isEnabled());
}

TEST(DesktopUse, ShortcutsKeepTheirMeaningInTheDataSheet)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    h.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.get()));
    const QImage loaded = h.canvas()->image().copy();
    h.window->mnuToolAutoErase_Click();
    const QImage erased = h.canvas()->image().copy();
    ASSERT_NE(erased, loaded);

    auto* sheet = h.find<QPlainTextEdit>("rtbDataSheet");
    sheet->setFocus();
    QGuiApplication::clipboard()->setText("7\t8");
    QTest::keyClick(sheet, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(sheet->toPlainText(), "7\t8");
    QTest::keyClick(sheet, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(sheet->toPlainText(), "") << "the text box's own undo";
    EXPECT_EQ(h.canvas()->image(), erased);

    h.canvas()->setFocus();
    QTest::keyClick(h.canvas(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(h.canvas()->image(), loaded) << "the picture's undo";
    QGuiApplication::clipboard()->clear();
}

TEST(DesktopUse, FileDialogsStartWhereTheUserLastWas)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start(samplePicture(), "/pictures/scans/first.png"));
    EXPECT_EQ(h.fakes.files.lastFolder, "") << "the first open starts in the current folder";
    h.window->mnuFileSave_Click();
    EXPECT_EQ(h.fakes.files.lastFolder, "/pictures/scans") << "no sheet saved yet: the picture's folder";

    QTemporaryDir saved;
    h.fakes.files.saveAnswers = {saved.filePath("points")};
    h.window->mnuFileSave_Click();
    h.fakes.loader.pictures.insert("/elsewhere/second.png", samplePicture());
    h.fakes.files.openAnswers = {"/elsewhere/second.png"};
    h.window->mnuFileOpen_Click();
    h.window->mnuFileOpen_Click();
    EXPECT_EQ(h.fakes.files.lastFolder, "/elsewhere");
    h.window->mnuFileSave_Click();
    EXPECT_EQ(h.fakes.files.lastFolder, saved.path());
}

} // namespace
