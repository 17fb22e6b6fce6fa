#include "app/PictureFiles.h"

#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

namespace {
// The types the picture loader reads; the desktop entry offers the same list.
const char* const kPictureTypes[] = {"image/bmp", "image/jpeg", "image/gif", "image/png",
                                     "image/tiff", "image/webp", "image/emf", "image/wmf"};
} // namespace

bool isPictureFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    for (const char* name : kPictureTypes) {
        if (type.inherits(QString::fromLatin1(name)))
            return true;
    }
    return false;
}

bool isProjectFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).suffix().compare(QLatin1String("orvanta"), Qt::CaseInsensitive) == 0;
}

QString pictureFileIn(const QMimeData& mime)
{
    const QList<QUrl> urls = mime.urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    return isPictureFile(path) || (isProjectFile(path) && QFileInfo(path).isFile()) ? path : QString();
}
