// The command line: what each form of it asks for, and a start with a picture
// named on it.
#include "app/CommandLine.h"
#include "support/MainWindowHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, EachFormAsksForItsStart)
{
    struct Case {
        QStringList args;
        QString file;
        std::optional<int> exitCode;
        QString out, err;  // parts of what is printed; empty: nothing
    };
    const Case cases[] = {
        {{}, "", std::nullopt, "", ""},
        {{"graph.png"}, "graph.png", std::nullopt, "", ""},
        // Whether it loads is found out when it is opened.
        {{"no such file.bmp"}, "no such file.bmp", std::nullopt, "", ""},
        {{"a.png", "b.bmp", "c.gif"}, "a.png", std::nullopt, "", "not opened: b.bmp, c.gif"},
        {{"--help"}, "", 0, "[options] [picture]", ""},
        {{"--version"}, "", 0, "Orvanta 1.", ""},
        {{"--frobnicate", "a.png"}, "", 2, "", "Unknown option 'frobnicate'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandLine line = parseCommandLine(QStringList{"orvanta"} + c.args);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_EQ(line.out.isEmpty(), c.out.isEmpty());
        EXPECT_TRUE(line.out.contains(c.out)) << line.out.toStdString();
        EXPECT_EQ(line.err.isEmpty(), c.err.isEmpty());
        EXPECT_TRUE(line.err.contains(c.err)) << line.err.toStdString();
    }
}

TEST(CommandLine, StartOpensTheNamedPictureOrReportsItAndShowsTheDialog)
{
    struct Case { QString startFile; int dialogs; QStringList errors; QColor shown; };
    const Case cases[] = {
        {"/pictures/red.png", 0, {}, Qt::red},
        {"/pictures/broken.bmp", 1, {"エラー|「/pictures/broken.bmp」を開けませんでした。"}, Qt::blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.startFile.toStdString());
        FakePlatform fakes;
        fakes.loader.pictures.insert("/pictures/red.png", samplePicture(400, 300, Qt::red));
        fakes.loader.pictures.insert("/pictures/blue.png", samplePicture(400, 300, Qt::blue));
        fakes.files.openAnswers = {"/pictures/blue.png"};
        frmMainPic window(fakes.platform());
        ASSERT_TRUE(window.Form_Load(c.startFile));
        EXPECT_EQ(fakes.files.opens, c.dialogs);
        EXPECT_EQ(fakes.messages.shown, c.errors);
        EXPECT_EQ(QColor(window.canvas()->image().pixel(10, 167)), c.shown);
    }
}

} // namespace
