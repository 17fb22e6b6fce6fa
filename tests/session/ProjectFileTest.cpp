#include "session/ProjectFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <tuple>

namespace {
QImage graph()
{
    QImage img(300, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < 300; ++x) {
        img.setPixelColor(x, 100 + x / 10, QColor(200, 30, 30));
        img.setPixelColor(x, 50, Qt::black);
    }
    return img;
}

// A session with a picture on a 400 x 300 canvas, edited by every kind of edit.
void edit(Digitisation& s)
{
    s.canvas().resize({400, 300});
    s.open(Picture::fromImage(graph()), "/pictures/graph.png");
    PictureEdit pen;
    pen.points = {{600, 900}, {900, 1200}, {1500, 1250}};
    s.apply(pen);
    PictureEdit eraser{PictureEdit::Kind::Eraser, {}, {}, 2, {{3000, 750}}};
    s.apply(eraser);
    // The window was resized in between: the next edits are on another canvas.
    s.canvas().resize({500, 320}, false);
    s.repaint();
    PictureEdit across{PictureEdit::Kind::LineAcross, {}, {}, 0, {{0, 700}}};
    s.apply(across);
    PictureEdit binarise{PictureEdit::Kind::Binarise, {}, {true, 0x1E1EC8, 20}, 0, {}};
    s.apply(binarise);
    s.calibration = {3, true, 0, 10, -1, 1, true, false, 812.5f, 3600, 5230.25f, 1440};
    s.markers.lblStartPointC.left = 1234.5f;
    s.sheet = "1\t2\n3\t4\n";
}
} // namespace

TEST(ProjectFile, SavedAndReopenedGivesTheSameCanvasNumbersAndSheet)
{
    Digitisation saved;
    edit(saved);
    ProjectFile project = projectOf(saved, "/pictures/work.orvanta");
    EXPECT_EQ(project.picturePath, "graph.png");
    const ProjectRead read = readProject(projectBytes(project));
    ASSERT_EQ(read.problem, ProjectRead::Problem::None);
    const ProjectFile& p = read.project;

    Digitisation reopened;
    reopened.canvas().resize(p.canvas);
    reopened.open(Picture::fromImage(graph()), "/pictures/graph.png");
    reopened.replay(p.edits, p.canvas);
    restoreSettings(reopened, p);
    EXPECT_EQ(reopened.canvas().image(), saved.canvas().image());
    EXPECT_EQ(reopened.edits().size(), 4u);
    EXPECT_EQ(reopened.history().currentOrigin().binarisedWith.has_value(), true);
    EXPECT_EQ(reopened.sheet, saved.sheet);
    const AxisCalibration& a = reopened.calibration;
    const AxisCalibration& b = saved.calibration;
    EXPECT_EQ(std::tie(a.effectiveFigure, a.coordinatesSet, a.x1Value, a.x2Value, a.y1Value, a.y2Value, a.xLinear,
                       a.yLinear, a.refX1Pos, a.refY1Pos, a.refX2Pos, a.refY2Pos),
              std::tie(b.effectiveFigure, b.coordinatesSet, b.x1Value, b.x2Value, b.y1Value, b.y2Value, b.xLinear,
                       b.yLinear, b.refX1Pos, b.refY1Pos, b.refX2Pos, b.refY2Pos));
    EXPECT_EQ(reopened.markers.lblStartPointC.left, 1234.5f);
    // The same clicks give the same numbers.
    EXPECT_EQ(*AxisValueFromX(reopened.calibration, 2000.25f), *AxisValueFromX(saved.calibration, 2000.25f));
    // An undone edit is not part of what the canvas shows, nor of the project.
    saved.undo();
    EXPECT_EQ(projectOf(saved, "/pictures/work.orvanta").edits.size(), 3u);
}

TEST(ProjectFile, DamagedTruncatedAndNewerFilesAreRefused)
{
    Digitisation s;
    edit(s);
    const QByteArray good = projectBytes(projectOf(s, "/pictures/work.orvanta"));
    const auto with = [&](const char* from, const char* to) {
        QByteArray b = good;
        const qsizetype at = b.indexOf(from);
        EXPECT_GE(at, 0) << from;
        return b.replace(at, qsizetype(qstrlen(from)), to);
    };
    using P = ProjectRead::Problem;
    const struct {
        const char* what;
        QByteArray bytes;
        P problem;
    } cases[] = {
        {"as written", good, P::None},
        {"cut short", good.left(good.size() / 2), P::Damaged},
        {"empty", QByteArray(), P::Damaged},
        {"not ours", with("orvanta-project", "other-project"), P::Damaged},
        {"a newer version", with("\"version\": 1", "\"version\": 2"), P::TooNew},
        {"version zero", with("\"version\": 1", "\"version\": 0"), P::Damaged},
        {"figures out of range", with("\"figures\": 3", "\"figures\": 5"), P::Damaged},
        {"a string for a number", with("\"freq\": 5", "\"freq\": \"5\""), P::Damaged},
        {"freq zero", with("\"freq\": 5", "\"freq\": 0"), P::Damaged},
        {"an unknown edit", with("\"eraser\"", "\"scissors\""), P::Damaged},
        {"an eraser step past 2", with("\"step\": 2", "\"step\": 3"), P::Damaged},
        {"a canvas of no pixels", with("\"canvas\": [\n        500", "\"canvas\": [\n        0"), P::Damaged},
        {"a marker of three numbers", with("\"lblXY1\": [", "\"lblXY1\": [1, 2, 3], \"x\": ["), P::Damaged},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readProject(c.bytes).problem, c.problem) << c.what;
}

TEST(ProjectFile, APictureMovedBesideTheProjectIsFoundAndItsHashTellsAChange)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("graph.png");
    ASSERT_TRUE(graph().save(picture));
    ProjectFile p;
    p.picturePath = "../elsewhere/graph.png";
    p.pictureAbsolutePath = "/nowhere/graph.png";
    EXPECT_EQ(locateProjectPicture(p, dir.filePath("work.orvanta")), picture);
    p.picturePath = "../elsewhere/other.png";
    EXPECT_TRUE(locateProjectPicture(p, dir.filePath("work.orvanta")).isEmpty());

    const QByteArray before = fileSha256(picture);
    EXPECT_EQ(before.size(), 64);
    QImage changed = graph();
    changed.setPixelColor(0, 0, Qt::black);
    ASSERT_TRUE(changed.save(picture));
    EXPECT_NE(fileSha256(picture), before);
    EXPECT_TRUE(fileSha256(dir.filePath("missing.png")).isEmpty());
}
