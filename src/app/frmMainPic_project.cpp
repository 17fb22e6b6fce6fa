// Work kept in a project file: saving the session, and opening it again with
// the picture it was made on.
#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "raster/VectorRendering.h"
#include "capture/DataSheet.h"
#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"
#include "session/ProjectFile.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

void frmMainPic::mnuFileSaveProject_Click() { saveProject(); }

bool frmMainPic::saveProject()
{
    // What the canvas shows must be the picture the project names.
    if (!session_.showsOpenedPicture()) {
        platform_.messages.error(msg::projectEarlierPicture(), msg::errorTitle());
        return false;
    }
    if (session_.picturePath().isEmpty()) {
        platform_.messages.error(msg::projectNeedsFile(), msg::errorTitle());
        return false;
    }
    const QString path = chooseSavePath("作業の保存", {"作業ﾌｧｲﾙ (*.orvanta)", "すべてのﾌｧｲﾙ (*.*)"}, "orvanta",
                                        lastProjectFolder_.isEmpty() ? pictureFolder_ : lastProjectFolder_);
    if (path.isEmpty())
        return false;

    picGraph_->settle();
    syncSheet();
    if (const auto failed = writeFileAtomically(path, projectBytes(projectOf(session_, path)))) {
        platform_.messages.error(msg::cannotSave(QFileInfo(path).fileName(), *failed), msg::errorTitle());
        return false;
    }
    // The sheet is kept in the project: closing loses nothing.
    dataUnsaved_ = false;
    lastProjectFolder_ = QFileInfo(path).absolutePath();
    return true;
}

void frmMainPic::mnuFileOpenProject_Click()
{
    const QString path = platform_.files.openFile("作業を開く", {"作業ﾌｧｲﾙ (*.orvanta)", "すべてのﾌｧｲﾙ (*.*)"},
                                                  lastProjectFolder_.isEmpty() ? lastPictureFolder_ : lastProjectFolder_);
    if (!path.isEmpty())
        openProjectFile(path);
}

// Everything is checked before anything changes: a project that cannot be
// read, or whose picture cannot be found or opened, leaves the window as it was.
bool frmMainPic::openProjectFile(const QString& path)
{
    if (loaded_ && !settleUnsavedData())
        return false;
    const ProjectRead read = readProjectFile(path);
    if (read.problem != ProjectRead::Problem::None) {
        platform_.messages.error(projectProblemMessage(read.problem, QFileInfo(path).fileName()), msg::errorTitle());
        return false;
    }
    const ProjectFile& project = read.project;
    const QString picturePath = locateProjectPicture(project, path);
    if (picturePath.isEmpty()) {
        platform_.messages.error(msg::projectPictureMissing(QFileInfo(project.picturePath).fileName()),
                                 msg::errorTitle());
        return false;
    }
    PictureLoadResult loaded = platform_.pictures.load(picturePath, vectorRenderingFor(project.canvas));
    if (!loaded.ok()) {
        platform_.messages.error(
            loaded.error.isEmpty() ? msg::cannotOpen(QFileInfo(picturePath).fileName()) : loaded.error,
            msg::errorTitle());
        return false;
    }
    if (!project.pictureSha256.isEmpty() && fileSha256(picturePath) != project.pictureSha256)
        platform_.messages.error(msg::projectPictureChanged(QFileInfo(picturePath).fileName()), msg::warningTitle());

    lastPictureFolder_ = QFileInfo(picturePath).absolutePath();
    lastProjectFolder_ = QFileInfo(path).absolutePath();
    showPicture(loaded.picture, QFileInfo(picturePath).absoluteFilePath(), lastPictureFolder_);
    // The edits are drawn again on the canvas they were made on; the window
    // then lays the result out on its own canvas as after a resize, markers and all.
    replayProject(session_, project);
    state_.lastScaleWidth = static_cast<float>(project.canvas.width() * kTwipsPerPixelX);
    state_.lastScaleHeight = project.canvas.height() * kTwipsPerPixelY;
    state_.calibrationFromEarlierPicture = false;
    state_.earlierCalibrationAccepted = false;
    state_.traceMarksShown = false;
    state_.toolMode = ToolMode::XY;
    selectToolButton(ToolMode::XY);
    applyToolCursor();
    setMarkersVisible(true);
    showCalibrationNotice();
    if (session_.calibration.coordinatesSet) {
        picXYLL_->setPixmap(pointerImage(indicatorImage(session_.calibration)));
        fitDataSheet(session_.calibration.effectiveFigure,
                     static_cast<float>(dataSheetWidth(session_.calibration.effectiveFigure)));
    }
    loaded_ = true;
    Form_Resize();
    picOriginal_ = picGraph_->image();
    rtbDataSheet_->setPlainText(project.sheet);
    dataUnsaved_ = false;
    forgetPicks();
    updateUndoMenu();
    setStatus(QString());
    return true;
}
