// A series of pictures digitised from one saved work without a window: the
// same sheets as the window gives, and failures that name what failed.
#include "batch/BatchRun.h"
#include "platform/picture/QtPictureLoader.h"
#include "session/ProjectFile.h"
#include "support/MainWindowHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Every curve of the series starts where the trace's start marker is.
double curveRow(int phase, double x) { return 240 + (110 + 20 * phase) * std::sin((x - 100) / (60.0 + 10 * phase)); }

// A framed graph with one smooth curve; `phase` makes the series differ.
QImage seriesPicture(int phase)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(60, 40, 540, 400);
    QPolygonF curve;
    for (double x = 60; x <= 600; x += 1)
        curve << QPointF(x, curveRow(phase, x));
    p.setPen(QPen(QColor(30, 30, 30), 2.5));
    p.drawPolyline(curve);
    return image;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

struct Reported {
    QStringList lines;
    std::function<void(const QString&)> sink() { return [this](const QString& l) { lines << l; }; }
};

// The work the window saves for the first picture, with the trace's markers
// put on the curves and a binarisation among the edits.
struct Series {
    QTemporaryDir dir;
    QStringList pictures;
    QtPictureLoader loader;
    MainWindowHarness window;
    ProjectFile project;

    bool make()
    {
        for (int phase = 0; phase < 3; ++phase) {
            pictures << dir.filePath(QStringLiteral("graph%1.png").arg(phase));
            if (!seriesPicture(phase).save(pictures.back()))
                return false;
        }
        window.fakes.pictures = &loader;
        window.fakes.files.openAnswers.push_back(pictures[0]);
        window.window = std::make_unique<frmMainPic>(window.fakes.platform());
        if (!window.window->Form_Load())
            return false;
        window.window->show();
        if (!QTest::qWaitForWindowExposed(window.window.get()))
            return false;
        window.confirmCalibration("0", "0", "10", "5");
        window.fakes.files.saveAnswers.push_back(dir.filePath("work"));
        window.window->mnuFileSaveProject_Click();
        ProjectRead read = readProjectFile(dir.filePath("work.orvanta"));
        if (read.problem != ProjectRead::Problem::None)
            return false;
        project = read.project;
        const double sx = 15.0 * project.canvas.width() / kWidth;
        const double sy = 15.0 * project.canvas.height() / kHeight;
        TwipsRect& start = project.markers.lblStartPointC;
        start.left = float(100 * sx - start.width / 2);
        start.top = float(curveRow(0, 100) * sy - start.height / 2);
        TwipsRect& end = project.markers.lblEndLine;
        end.left = float(560 * sx + end.width / 2);
        PictureEdit binarise;
        binarise.kind = PictureEdit::Kind::Binarise;
        binarise.canvas = project.canvas;
        binarise.binarise.curveColor = 0x1e1e1e;
        binarise.binarise.tolerancePercent = 40;
        project.edits = {binarise};
        return save(project, "work.orvanta");
    }
    bool save(const ProjectFile& p, const QString& name) { return writeBytes(dir.filePath(name), projectBytes(p)); }
};

TEST(Batch, GivesTheWindowsSheetsAndNamesThePicturesItCouldNotDo)
{
    Series s;
    ASSERT_TRUE(s.make());

    // The window, given the same work for each picture.
    QStringList bySight;
    for (int i = 0; i < 3; ++i) {
        ProjectFile one = s.project;
        one.picturePath = one.pictureAbsolutePath = s.pictures[i];
        one.pictureSha256.clear();
        ASSERT_TRUE(s.save(one, QStringLiteral("one%1.orvanta").arg(i)));
        ASSERT_TRUE(s.window.window->openProjectFile(s.dir.filePath(QStringLiteral("one%1.orvanta").arg(i))));
        s.window.window->tbToolbar_ButtonClick(8);
        s.window.fakes.files.saveAnswers.push_back(s.dir.filePath(QStringLiteral("window%1").arg(i)));
        s.window.window->mnuFileSave_Click();
        bySight << s.dir.filePath(QStringLiteral("window%1.txt").arg(i));
    }

    // A missing picture, and a second picture of an earlier one's name, fail
    // on their own; the others are written.
    QDir(s.dir.path()).mkdir("again");
    ASSERT_TRUE(QFile::copy(s.pictures[1], s.dir.filePath("again/graph0.png")));
    const QString out = s.dir.filePath("sheets");
    Reported reported;
    const int exit = runBatch({s.dir.filePath("work.orvanta"),
                               {s.pictures[0], s.dir.filePath("gone.png"), s.pictures[1], s.dir.filePath("again/graph0.png"),
                                s.pictures[2]},
                               out},
                              s.loader, reported.sink());
    EXPECT_EQ(exit, 1);
    ASSERT_EQ(reported.lines.size(), 6) << reported.lines.join("\n").toStdString();
    EXPECT_TRUE(reported.lines[1].startsWith("[2/5] ") && reported.lines[1].contains("「gone.png」が見つかりません"));
    EXPECT_TRUE(reported.lines[3].contains("「graph0.txt」"));
    EXPECT_TRUE(reported.lines[5].contains("5 枚中 2 枚"));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const QByteArray sheet = fileBytes(QDir(out).filePath(QStringLiteral("graph%1.txt").arg(i)));
        EXPECT_EQ(sheet.count('\n'), 58) << "a point every fifth canvas column to the end line";
        EXPECT_EQ(sheet, fileBytes(bySight[i]));
        EXPECT_TRUE(reported.lines[i == 0 ? 0 : i == 1 ? 2 : 4].contains("点をトレースしました"));
    }
    EXPECT_NE(fileBytes(bySight[0]), fileBytes(bySight[1]));
}

TEST(Batch, AProjectThatCannotBeUsedFailsBeforeAnyPicture)
{
    Series s;
    ASSERT_TRUE(s.make());
    const QByteArray whole = fileBytes(s.dir.filePath("work.orvanta"));
    ASSERT_TRUE(writeBytes(s.dir.filePath("cut.orvanta"), whole.left(whole.size() / 2)));
    ProjectFile uncalibrated = s.project;
    uncalibrated.calibration.coordinatesSet = false;
    ASSERT_TRUE(s.save(uncalibrated, "uncalibrated.orvanta"));

    const struct { const char* project; const char* says; } cases[] = {
        {"missing.orvanta", "「missing.orvanta」を開けませんでした"},
        {"cut.orvanta", "「cut.orvanta」は作業ファイルとして読み込めません"},
        {"uncalibrated.orvanta", "座標"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.project);
        const QString out = s.dir.filePath(QStringLiteral("out-") + c.project);
        Reported reported;
        EXPECT_EQ(runBatch({s.dir.filePath(c.project), s.pictures, out}, s.loader, reported.sink()), 1);
        ASSERT_EQ(reported.lines.size(), 1);
        EXPECT_TRUE(reported.lines[0].startsWith(s.dir.filePath(c.project)) && reported.lines[0].contains(c.says))
            << reported.lines[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << "nothing written";
    }
}

} // namespace
