// File commands: opening a picture, quitting, the data sheet's save and clear.
#include "app/frmMainPic.h"

#include "app/PictureFiles.h"
#include "raster/VectorRendering.h"
#include "capture/DataSheet.h"
#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"
#include "session/ProjectFile.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {
QString savePathWithExtension(QString path, const QString& suffix)
{
    // "points." has no extension either; the default one takes the place of the
    // dot instead of following it.
    if (QFileInfo(path).suffix().isEmpty()) {
        while (path.endsWith('.'))
            path.chop(1);
        path += '.' + suffix;
    }
    return path;
}
} // namespace

// The save dialog, until a name is chosen whose file may be written: empty
// when the user cancelled.
QString frmMainPic::chooseSavePath(const QString& title, const QStringList& filters, const QString& suffix,
                                   const QString& folder)
{
    QString path;
    do {
        path = platform_.files.saveFile(title, filters, suffix, folder);
        if (path.isEmpty())
            return path;
        path = savePathWithExtension(path, suffix);
        // Asked here rather than by the dialog, so that the question is about the
        // name really written, extension included; "no" chooses again.
    } while (QFileInfo::exists(path)
             && !platform_.messages.confirm(msg::alreadyExists(QFileInfo(path).fileName()), msg::confirmTitle()));
    return path;
}

bool frmMainPic::Form_Load(const QString& startFile)
{
    // A project given at start opens with everything it holds.
    if (isProjectFile(startFile) && openProjectFile(startFile))
        return true;
    // A start file that does not load has been reported; the dialog follows
    // as at a start without one.
    const bool opened = !startFile.isEmpty() && !isProjectFile(startFile) && loadPictureFile(startFile);
    if (!opened && !openPicture())
        return false;
    state_.toolMode = ToolMode::XY;
    session_.calibration.coordinatesSet = false;
    state_.traceMarksShown = false;
    state_.lastScaleWidth = static_cast<float>(picGraph_->scaleWidth());
    state_.lastScaleHeight = roundHalfEven32(picGraph_->scaleHeight());
    session_.traceSettings = TraceSettings{};
    session_.markers.shpRectangle.height = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelY);
    session_.markers.shpRectangle.width = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelX);
    state_.eraserSizeStep = 0;
    placeMarkers();
    loaded_ = true;
    dataUnsaved_ = false;
    return true;
}

void frmMainPic::mnuFileOpen_Click()
{
    if (!settleUnsavedData())
        return;
    openPicture();
}

// Shows the open dialog and loads the chosen picture.
bool frmMainPic::openPicture()
{
    const QStringList filters = {
        "すべてのﾌｧｲﾙ (*.*)",
        "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)",
        "JPEGﾌｧｲﾙ (*.jpg)",
        "GIFﾌｧｲﾙ (*.gif)",
        "拡張ﾒﾀﾌｧｲﾙ (*.emf)",
        "ﾒﾀﾌｧｲﾙ (*.wmf)",
    };
    const QString path = platform_.files.openFile("開く", filters, lastPictureFolder_);
    if (path.isEmpty())
        return false;
    return loadPictureFile(path);
}

// A failed load is reported and changes nothing: the data sheet is cleared only
// once the new picture is in.
bool frmMainPic::loadPictureFile(const QString& path)
{
    // Metafiles are rendered finer than the canvas, so thin lines stay dark
    // when the rendering is shrunk onto it.
    PictureLoadResult loaded = platform_.pictures.load(path, vectorRenderingFor(picGraph_->image().size()));
    if (!loaded.ok()) {
        platform_.messages.error(loaded.error.isEmpty() ? msg::cannotOpen(QFileInfo(path).fileName()) : loaded.error,
                                 msg::errorTitle());
        return false;
    }
    lastPictureFolder_ = QFileInfo(path).absolutePath();
    showPicture(loaded.picture, QFileInfo(path).absoluteFilePath(), lastPictureFolder_);
    return true;
}

void frmMainPic::showPicture(const Picture& picture, const QString& path, const QString& folder)
{
    pictureFolder_ = folder;
    rtbDataSheet_->clear();
    dataUnsaved_ = false;
    lastVectorRequest_ = QSize();
    hideLoupe();
    picGraph_->settle();
    session_.open(picture, path);
    picOriginal_ = picGraph_->image();
    forgetPicks();
    updateUndoMenu();
    state_.traceMarksShown = false;
    // Markers and calibration stay over an open, but the values typed were
    // read off the picture before: the user is told until they are confirmed
    // for this one, and asked before they are used on it.
    state_.calibrationFromEarlierPicture = loaded_ && session_.calibration.coordinatesSet;
    state_.earlierCalibrationAccepted = false;
    showCalibrationNotice();
}

bool frmMainPic::settleUnsavedData()
{
    if (!dataSheetUnsaved())
        return true;
    switch (platform_.messages.askToSave(msg::unsavedData(), msg::confirmTitle())) {
    case SaveChoice::Save: return saveDataSheet();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: break;
    }
    return false;
}

bool frmMainPic::dataSheetUnsaved() const
{
    return dataUnsaved_ && !rtbDataSheet_->toPlainText().isEmpty();
}

void frmMainPic::mnuFileQuit_Click() { close(); }

void frmMainPic::closeEvent(QCloseEvent* event)
{
    if (loaded_ && !settleUnsavedData()) {
        event->ignore();
        return;
    }
    platform_.pointer.release();
    event->accept();
}

void frmMainPic::AppendDataLine()
{
    appendToSheet(dataLine(state_.cursorValueX, state_.cursorValueY));
}

// Lines always land at the very end, whatever the user selected; the sheet
// keeps its line breaks as "\n" and the save writes them as CR LF.
void frmMainPic::appendToSheet(QString lines)
{
    lines.replace("\r\n", "\n");
    QTextCursor cursor = rtbDataSheet_->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(lines);
    rtbDataSheet_->setTextCursor(cursor);
}

void frmMainPic::syncSheet() { session_.sheet = rtbDataSheet_->toPlainText(); }

QString frmMainPic::dataSheetText() const { return rtbDataSheet_->toPlainText(); }

void frmMainPic::mnuEditClear_Click() { clearDataSheet(); }

// False when the user kept unsaved lines: nothing is cleared then.
bool frmMainPic::clearDataSheet()
{
    if (!settleUnsavedData())
        return false;
    rtbDataSheet_->clear();
    dataUnsaved_ = false;
    forgetPicks();
    return true;
}

void frmMainPic::mnuFileSave_Click() { saveDataSheet(); }

// True once the sheet is in a file; false when the user cancelled or the write failed.
bool frmMainPic::saveDataSheet()
{
    const QStringList filters = {"ﾃｷｽﾄ (*.txt)", "すべてのﾌｧｲﾙ (*.*)"};
    const QString path =
        chooseSavePath("ﾌｧｲﾙの保存", filters, "txt", lastSaveFolder_.isEmpty() ? pictureFolder_ : lastSaveFolder_);
    if (path.isEmpty())
        return false;

    // The old file is replaced only once the new one is completely written.
    if (const auto failed = writeFileAtomically(path, dataFileBytes(rtbDataSheet_->toPlainText()))) {
        platform_.messages.error(msg::cannotSave(QFileInfo(path).fileName(), *failed), msg::errorTitle());
        return false;
    }
    dataUnsaved_ = false;
    lastSaveFolder_ = QFileInfo(path).absolutePath();
    return true;
}
