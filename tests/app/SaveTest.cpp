// Saving the data sheet, and never losing unsaved lines on open, quit or clear.
#include "support/MainWindowHarness.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void setSheet(MainWindowHarness& h, const QString& text) { h.find<QPlainTextEdit>("rtbDataSheet")->setPlainText(text); }

TEST(Save, UnsavedLinesAreSavedDiscardedOrKeptBeforeOpenQuitAndClear)
{
    const QString question = "確認|保存されていないデータがあります。保存しますか？";
    enum Action { Open, Quit, Clear };
    // Answer, whether the save dialog then names a file, whether the action goes on.
    const std::tuple<SaveChoice, bool, bool> answers[] = {
        {SaveChoice::Discard, false, true}, {SaveChoice::Cancel, false, false},
        {SaveChoice::Save, true, true}, {SaveChoice::Save, false, false}};
    for (Action action : {Open, Quit, Clear})
        for (const auto& [choice, named, goesOn] : answers) {
            SCOPED_TRACE(testing::Message() << "action " << action << ", answer " << int(choice) << (named ? " named" : ""));
            MainWindowHarness h;
            ASSERT_TRUE(h.start());
            QTemporaryDir dir;
            setSheet(h, "1\t2\n");
            h.fakes.messages.saveAnswer = choice;
            h.fakes.files.saveAnswers = {named ? dir.filePath("points") : QString()};
            h.fakes.files.openAnswers = {"/pictures/graph.png"};
            bool closed = false;
            switch (action) {
            case Open: h.window->mnuFileOpen_Click(); break;
            case Quit: closed = h.window->close(); break;
            case Clear: h.window->tbToolbar_ButtonClick(11); break;
            }
            EXPECT_EQ(h.fakes.messages.shown, QStringList{question});
            EXPECT_EQ(readAll(dir.filePath("points.txt")), named ? QByteArray("1\t2\r\n") : QByteArray("<missing>"));
            if (action == Quit)
                EXPECT_EQ(closed, goesOn);
            else
                EXPECT_EQ(h.window->dataSheetText(), goesOn ? "" : "1\t2\n");
            if (action == Open)
                EXPECT_EQ(h.fakes.files.opens, goesOn ? 2 : 1) << "the open dialog follows the answer";
        }

    // A saved or an empty sheet goes without a question.
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QTemporaryDir dir;
    setSheet(h, "1\t2\n");
    h.fakes.files.saveAnswers = {dir.filePath("a.txt")};
    h.window->tbToolbar_ButtonClick(10);
    h.window->mnuEditClear_Click();
    EXPECT_TRUE(h.window->dataSheetText().isEmpty());
    EXPECT_TRUE(h.window->close());
    EXPECT_TRUE(h.fakes.messages.shown.isEmpty());
}

TEST(Save, AsksBeforeReplacingAFileAndNamesTheRealReasonOfAFailure)
{
    MainWindowHarness h;
    ASSERT_TRUE(h.start());
    QTemporaryDir dir;
    const QString points = dir.filePath("points.txt");
    QFile old(points);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\r\n") == 5);
    old.close();
    setSheet(h, "1.23E4\t0.0123\n-5\t0\n");
    const QString replace = "確認|「points.txt」は既に存在します。上書きしますか？";

    // "No" to replacing brings the dialog back; a name ending in a dot gets .txt.
    h.fakes.messages.confirmAnswer = false;
    h.fakes.files.saveAnswers = {dir.filePath("points"), dir.filePath("other.")};
    h.window->mnuFileSave_Click();
    EXPECT_EQ(h.fakes.files.lastTitle, "ﾌｧｲﾙの保存");
    EXPECT_EQ(h.fakes.files.lastFilters, (QStringList{"ﾃｷｽﾄ (*.txt)", "すべてのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(h.fakes.messages.shown, QStringList{replace});
    EXPECT_EQ(readAll(points), QByteArray("old\r\n"));
    EXPECT_EQ(readAll(dir.filePath("other.txt")), QByteArray("1.23E4\t0.0123\r\n-5\t0\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("other..txt")));

    // "Yes", but a file size limit stops the write half-way, as a full disk
    // does (and does so even for root, unlike a read-only folder).
    QString longSheet;
    for (int i = 0; i < 200; ++i)
        longSheet += QStringLiteral("%1\t%2\n").arg(i).arg(i * 2);
    setSheet(h, longSheet);
    h.fakes.messages.shown.clear();
    h.fakes.messages.confirmAnswer = true;
    h.fakes.files.saveAnswers = {points};
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    h.window->mnuFileSave_Click();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(h.fakes.messages.shown,
              (QStringList{replace, "エラー|「points.txt」に保存できませんでした。\n" + QString::fromLocal8Bit(std::strerror(EFBIG))}));
    EXPECT_EQ(readAll(points), QByteArray("old\r\n")) << "the old file stays whole";
    EXPECT_EQ(h.window->dataSheetText(), longSheet);
    EXPECT_TRUE(h.window->dataSheetUnsaved());

    // Without the limit it is replaced; an empty sheet gives an empty file, and
    // a cancelled dialog writes and says nothing.
    h.fakes.files.saveAnswers = {points};
    h.window->mnuFileSave_Click();
    EXPECT_EQ(readAll(points).size(), longSheet.size() + 200);
    h.window->mnuEditClear_Click();
    h.fakes.files.saveAnswers = {dir.filePath("empty.txt")};
    h.window->mnuFileSave_Click();
    h.window->mnuFileSave_Click();
    EXPECT_EQ(readAll(dir.filePath("empty.txt")), QByteArray());
    EXPECT_EQ(h.fakes.messages.shown.size(), 3);
}

} // namespace
