#pragma once
// Which files count as pictures when they arrive by drag and drop or through
// the clipboard, before anything is loaded: the decision must be quick enough
// for the pointer to show it while a drag passes over the window.
#include <QString>

class QMimeData;

// True for a local file whose type (by name, else by content) is one of the
// picture types the program opens.
bool isPictureFile(const QString& path);

// True for a path named as a project (".orvanta"), whether or not it exists.
bool isProjectFile(const QString& path);

// The path of the one local picture or project file that `mime` carries;
// empty when it carries no file, several files, or a file that is neither.
QString pictureFileIn(const QMimeData& mime);
