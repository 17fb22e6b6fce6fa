#pragma once
// Which files count as pictures when they arrive by drag and drop or through
// the clipboard, before anything is loaded: the decision must be quick enough
// for the pointer to show it while a drag passes over the window.
#include <QString>

class QMimeData;

// True for a local file whose type (by name, else by content) is one of the
// picture types the program opens.
bool isPictureFile(const QString& path);

// The path of the one local picture file that `mime` carries; empty when it
// carries no file, several files, or a file that is no picture.
QString pictureFileIn(const QMimeData& mime);
