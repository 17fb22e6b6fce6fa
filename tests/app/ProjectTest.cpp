// Work saved as a project and opened again in a new window.
#include "support/MainWindowHarness.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

TEST(Project, ReopeningShowsTheSameCanvasAndGivesTheSameNumbersUnderTheSameClicks)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("graph.png");
    ASSERT_TRUE(samplePicture().save(picture));
    const QString project = dir.filePath("work");

    MainWindowHarness first;
    ASSERT_TRUE(first.start(samplePicture(), picture));
    first.confirmCalibration("0", "0", "10", "5");
    first.window->tbToolbar_ButtonClick(1);  // the pen
    first.clickOnCanvas({120, 80});
    first.window->tbToolbar_ButtonClick(6);  // the sight
    first.clickOnCanvas({200, 150});
    first.fakes.files.saveAnswers.push_back(project);
    first.window->mnuFileSaveProject_Click();
    ASSERT_TRUE(QFile::exists(project + ".orvanta")) << first.fakes.messages.shown.join("\n").toStdString();
    EXPECT_FALSE(first.window->dataSheetUnsaved()) << "the sheet is kept in the project";

    MainWindowHarness second;
    second.fakes.loader.pictures.insert(picture, samplePicture());
    second.window = std::make_unique<frmMainPic>(second.fakes.platform());
    ASSERT_TRUE(second.window->Form_Load(project + ".orvanta"));
    second.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(second.window.get()));
    first.window->tbToolbar_ButtonClick(5);
    EXPECT_EQ(second.canvas()->image(), first.canvas()->image());
    EXPECT_EQ(second.window->dataSheetText(), first.window->dataSheetText());
    first.window->tbToolbar_ButtonClick(6);
    second.window->tbToolbar_ButtonClick(6);
    second.clickOnCanvas({60, 40});
    first.clickOnCanvas({60, 40});
    EXPECT_EQ(second.window->dataSheetText(), first.window->dataSheetText());
    EXPECT_TRUE(second.window->statusNotice().isEmpty()) << "the calibration is this picture's";

    // A damaged project changes nothing.
    QFile damaged(dir.filePath("damaged.orvanta"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"format\": \"orvanta-project\", \"version\": 1");
    damaged.close();
    const QString sheet = second.window->dataSheetText();
    second.fakes.messages.saveAnswer = SaveChoice::Discard;
    EXPECT_FALSE(second.window->openProjectFile(damaged.fileName()));
    EXPECT_TRUE(second.fakes.messages.shown.last().startsWith("エラー|「damaged.orvanta」"));
    EXPECT_EQ(second.window->dataSheetText(), sheet);
}
