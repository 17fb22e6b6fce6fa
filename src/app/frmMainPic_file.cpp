// File commands: opening a picture, quitting, the data sheet's save and clear.
#include "app/frmMainPic.h"

#include "capture/DataSheet.h"
#include "platform/qt/PictureBox.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextCursor>

namespace {
const char* const kUnsavedQuestion = "保存されていないデータがあります。保存しますか？";
const char* const kConfirmTitle = "確認";

QString savePathWithExtension(QString path)
{
    // "points." has no extension either; the default one takes the place of the
    // dot instead of following it.
    if (QFileInfo(path).suffix().isEmpty()) {
        while (path.endsWith('.'))
            path.chop(1);
        path += ".txt";
    }
    return path;
}
} // namespace

bool frmMainPic::Form_Load(const QString& startFile)
{
    // A start file that does not load has been reported; the dialog follows
    // as at a start without one.
    const bool opened = !startFile.isEmpty() && loadPictureFile(startFile);
    if (!opened && !openPicture())
        return false;
    state_.toolMode = ToolMode::XY;
    calibration_.coordinatesSet = false;
    state_.traceMarksShown = false;
    storeReferencePositions(1);
    storeReferencePositions(2);
    state_.lastScaleWidth = static_cast<float>(picGraph_->scaleWidth());
    state_.lastScaleHeight = roundHalfEven32(picGraph_->scaleHeight());
    traceSettings_ = TraceSettings{};
    markers_.shpRectangle.height = static_cast<float>(traceSettings_.range * kTwipsPerPixelY);
    markers_.shpRectangle.width = static_cast<float>(traceSettings_.range * kTwipsPerPixelX);
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
    // Metafiles are rendered four times finer than the canvas, so thin lines
    // stay dark when the rendering is shrunk onto it.
    PictureLoadResult loaded = platform_.pictures.load(path, picGraph_->image().size() * 4);
    if (!loaded.ok()) {
        platform_.messages.error(loaded.error.isEmpty()
                                     ? QStringLiteral("「%1」を開けませんでした。").arg(QFileInfo(path).fileName())
                                     : loaded.error,
                                 "エラー");
        return false;
    }
    lastPictureFolder_ = QFileInfo(path).absolutePath();
    showPicture(loaded.picture, lastPictureFolder_);
    return true;
}

void frmMainPic::showPicture(const Picture& picture, const QString& folder)
{
    pictureFolder_ = folder;
    rtbDataSheet_->clear();
    dataUnsaved_ = false;
    loadedPicture_ = picture;
    lastVectorRequest_ = QSize();
    hideLoupe();
    picGraph_->cls();
    picGraph_->paintPictureFull(loadedPicture_);
    picOriginal_ = picGraph_->image();
    undo_.pictureLoaded(picGraph_->image());
    forgetPicks();
    updateUndoMenu();
    state_.traceMarksShown = false;
    // Markers and calibration stay over an open, but the values typed were
    // read off the picture before: the user is told until they are confirmed
    // for this one, and asked before they are used on it.
    state_.calibrationFromEarlierPicture = loaded_ && calibration_.coordinatesSet;
    state_.earlierCalibrationAccepted = false;
    showCalibrationNotice();
}

bool frmMainPic::settleUnsavedData()
{
    if (!dataSheetUnsaved())
        return true;
    switch (platform_.messages.askToSave(kUnsavedQuestion, kConfirmTitle)) {
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
    // The line always lands at the very end, whatever the user selected; the
    // sheet keeps its line breaks as "\n" and the save writes them as CR LF.
    QString line = dataLine(state_.cursorValueX, state_.cursorValueY);
    line.replace("\r\n", "\n");
    QTextCursor cursor = rtbDataSheet_->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(line);
    rtbDataSheet_->setTextCursor(cursor);
}

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
    QString path;
    do {
        path = platform_.files.saveFile("ﾌｧｲﾙの保存", filters, "txt",
                                        lastSaveFolder_.isEmpty() ? pictureFolder_ : lastSaveFolder_);
        if (path.isEmpty())
            return false;
        path = savePathWithExtension(path);
        // Asked here rather than by the dialog, so that the question is about the
        // name really written, extension included; "no" chooses again.
    } while (QFileInfo::exists(path)
             && !platform_.messages.confirm(
                 QStringLiteral("「%1」は既に存在します。上書きしますか？").arg(QFileInfo(path).fileName()),
                 kConfirmTitle));

    // The old file is replaced only once the new one is completely written.
    QSaveFile file(path);
    const QByteArray bytes = dataFileBytes(rtbDataSheet_->toPlainText());
    // Unbuffered, so a failing write shows at once. A short write (a full disk, a
    // size limit) carries no error of its own: writing the rest makes the system
    // say why.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        written = n > 0;
        done += n;
    }
    written = written && file.commit();
    if (!written) {
        platform_.messages.error(QStringLiteral("「%1」に保存できませんでした。\n%2")
                                     .arg(QFileInfo(path).fileName(), file.errorString()),
                                 "エラー");
        return false;
    }
    dataUnsaved_ = false;
    lastSaveFolder_ = QFileInfo(path).absolutePath();
    return true;
}
