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
const char* const kUnsavedQuestion = "保存されていないデータがあります。破棄してよろしいですか？";
const char* const kConfirmTitle = "確認";
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
    if (!askToDiscardUnsavedData())
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
    picGraph_->cls();
    picGraph_->paintPictureFull(loadedPicture_);
    picOriginal_ = picGraph_->image();
    undo_.pictureLoaded(picGraph_->image());
    updateUndoMenu();
    state_.traceMarksShown = false;
}

bool frmMainPic::askToDiscardUnsavedData()
{
    if (!dataSheetUnsaved())
        return true;
    return platform_.messages.confirm(kUnsavedQuestion, kConfirmTitle);
}

bool frmMainPic::dataSheetUnsaved() const
{
    return dataUnsaved_ && !rtbDataSheet_->toPlainText().isEmpty();
}

void frmMainPic::mnuFileQuit_Click() { close(); }

void frmMainPic::closeEvent(QCloseEvent* event)
{
    if (loaded_ && !askToDiscardUnsavedData()) {
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

void frmMainPic::mnuEditClear_Click()
{
    rtbDataSheet_->clear();
    dataUnsaved_ = false;
}

void frmMainPic::mnuFileSave_Click()
{
    const QStringList filters = {"ﾃｷｽﾄ (*.txt)", "すべてのﾌｧｲﾙ (*.*)"};
    QString path = platform_.files.saveFile("ﾌｧｲﾙの保存", filters, "txt",
                                            lastSaveFolder_.isEmpty() ? pictureFolder_ : lastSaveFolder_);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".txt";

    // The old file is replaced only once the new one is completely written.
    QSaveFile file(path);
    const QByteArray bytes = dataFileBytes(rtbDataSheet_->toPlainText());
    // Unbuffered, so a short write (disk full) shows in the count at once instead
    // of vanishing in a buffer flush.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        platform_.messages.error(QStringLiteral("「%1」に保存できませんでした。\n%2")
                                     .arg(QFileInfo(path).fileName(), file.errorString()),
                                 "エラー");
        return;
    }
    dataUnsaved_ = false;
    lastSaveFolder_ = QFileInfo(path).absolutePath();
}
