#pragma once
// A digitisation written down: the picture it was made on (where, and its
// SHA-256), the canvas size the positions are on, the calibration, the
// markers, the settings, the edits as operations and the sheet. JSON with a
// format version; readers refuse what they cannot be sure of.
#include "session/Digitisation.h"

#include <QByteArray>
#include <QDir>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

struct ProjectFile {
    static constexpr int kVersion = 1;

    // The picture's path as it was; relative paths are relative to the project.
    QString picturePath;
    QString pictureAbsolutePath;
    QByteArray pictureSha256;  // hex
    // The canvas the positions and the last edits are on, in pixels.
    QSize canvas;
    AxisCalibration calibration;
    MarkerGeometry markers;
    TraceSettings trace;
    BinarizeSettings binarise;
    std::vector<PictureEdit> edits;
    QString sheet;
};

// What a digitisation holds, as a project saved at `projectPath`. The picture's
// hash is taken from its file.
ProjectFile projectOf(const Digitisation& session, const QString& projectPath);

QByteArray projectBytes(const ProjectFile& project);

struct ProjectRead {
    enum class Problem { None, Unreadable, Damaged, TooNew };
    Problem problem = Problem::Damaged;
    ProjectFile project;
};
// Reads a project's bytes; anything missing, of the wrong type or out of range
// makes it Damaged, a version above ours TooNew.
ProjectRead readProject(const QByteArray& bytes);
// The same for the file at `path`; Unreadable when it cannot be read, Damaged
// when it is far larger than any project.
ProjectRead readProjectFile(const QString& path);
// What to tell the user of a project that could not be read (a Problem other than None).
QString projectProblemMessage(ProjectRead::Problem problem, const QString& fileName);

// Where the project's picture is now: at its path (relative to the project,
// then as it was), else a file of its name beside the project; empty when none exists.
QString locateProjectPicture(const ProjectFile& project, const QString& projectPath);

// The SHA-256 of a file's bytes, hex; empty when it cannot be read.
QByteArray fileSha256(const QString& path);

// Puts the project's calibration, markers, settings and sheet into `session`
// (the picture and its edits are the caller's: they need the loader).
void restoreSettings(Digitisation& session, const ProjectFile& project);

// After the project's picture is opened in `session`: its edits drawn again on
// the canvas they were made on, ending on the project's canvas, and its
// settings restored.
void replayProject(Digitisation& session, const ProjectFile& project);

// Writes `bytes` to `path`, replacing it only once the whole file is written;
// the system's reason when it fails.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes);
