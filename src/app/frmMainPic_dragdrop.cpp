// Pictures that arrive by drag and drop or through the clipboard: they open
// as the open command opens a chosen file, question and error box included.
#include "app/frmMainPic.h"

#include "app/PictureFiles.h"
#include "platform/UserMessages.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

void frmMainPic::openPictureFile(const QString& path)
{
    if (isProjectFile(path)) {
        openProjectFile(path);
        return;
    }
    if (!settleUnsavedData())
        return;
    loadPictureFile(path);
}

// Drags that carry files are the window's, wherever they pass; a drag without
// files is left to the widget under it (text for the data sheet). Returns
// whether the event was handled here.
bool frmMainPic::handleDragEvent(QEvent* event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls())
        return false;
    const QString path = pictureFileIn(*drop->mimeData());
    if (path.isEmpty()) {
        drop->ignore();
        return true;
    }
    // Always a copy: a source that was told "moved" may delete the file.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        // The question and error boxes wait until the drag source has been
        // told the drop is over.
        QMetaObject::invokeMethod(this, [this, path] { openPictureFile(path); }, Qt::QueuedConnection);
    }
    return true;
}

void frmMainPic::dragEnterEvent(QDragEnterEvent* event)
{
    if (!handleDragEvent(event))
        event->ignore();
}

void frmMainPic::dragMoveEvent(QDragMoveEvent* event)
{
    if (!handleDragEvent(event))
        event->ignore();
}

void frmMainPic::dropEvent(QDropEvent* event)
{
    if (!handleDragEvent(event))
        event->ignore();
}

void frmMainPic::updatePasteMenu()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    mnuFilePaste_->setEnabled(mime && (mime->hasImage() || !pictureFileIn(*mime).isEmpty()));
}

void frmMainPic::mnuFilePaste_Click()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return;
    // A copied file opens from the file, at its own resolution and with its
    // folder; image data is what is left.
    const QString path = pictureFileIn(*mime);
    if (!path.isEmpty()) {
        openPictureFile(path);
        return;
    }
    if (!mime->hasImage())
        return;
    // Taken before the question: the clipboard may change while it is up.
    const Picture picture = Picture::fromImage(qvariant_cast<QImage>(mime->imageData()));
    if (picture.isNull()) {
        platform_.messages.error(msg::clipboardUnreadable(), msg::errorTitle());
        return;
    }
    if (!settleUnsavedData())
        return;
    showPicture(picture, QString(), QString());
}
