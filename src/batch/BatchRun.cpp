#include "batch/BatchRun.h"

#include "raster/VectorRendering.h"
#include "capture/DataSheet.h"
#include "platform/UserMessages.h"
#include "session/Digitisation.h"
#include "session/ProjectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

struct PictureRun {
    QString failure;  // empty when the sheet was written
    qsizetype points = 0;
    bool lost = false;
};

PictureRun digitise(const ProjectFile& project, const QString& picturePath, const QString& outPath,
                    PictureLoader& pictures)
{
    const QString name = QFileInfo(picturePath).fileName();
    if (!QFileInfo(picturePath).isFile())
        return {msg::fileNotFound(name)};
    // Rendered as finely as the window renders it for this canvas, so a
    // metafile is measured the same way here and there.
    PictureLoadResult loaded = pictures.load(picturePath, vectorRenderingFor(project.canvas));
    if (!loaded.ok())
        return {loaded.error.isEmpty() ? msg::cannotOpen(name) : loaded.error};

    Digitisation session;
    session.canvas().resize(project.canvas, false);
    session.open(loaded.picture, QFileInfo(picturePath).absoluteFilePath());
    replayProject(session, project);
    const TraceResult traced = session.trace(traceSpanOf(session.markers));
    if (!traced.started)
        return {msg::noInkAtStart()};
    if (const auto failed = writeFileAtomically(outPath, dataFileBytes(traced.lines)))
        return {msg::cannotSave(QFileInfo(outPath).fileName(), *failed)};
    return {QString(), qsizetype(traced.outcome.points.size()), traced.outcome.lost};
}

} // namespace

int runBatch(const BatchRequest& request, PictureLoader& pictures, const std::function<void(const QString&)>& report)
{
    // Everything that concerns the project as a whole is settled before the
    // first picture, so a wrong project leaves no half-written series.
    const QString projectName = QFileInfo(request.project).fileName();
    const ProjectRead read = readProjectFile(request.project);
    if (read.problem != ProjectRead::Problem::None) {
        report(QStringLiteral("%1: %2").arg(request.project, projectProblemMessage(read.problem, projectName)));
        return 1;
    }
    const ProjectFile& project = read.project;
    const QString why = project.calibration.coordinatesSet ? traceConversionProblem(project.calibration)
                                                           : msg::setCoordinatesFirst();
    if (!why.isEmpty()) {
        report(QStringLiteral("%1: %2").arg(request.project, why));
        return 1;
    }
    const QString outDir = request.outDir.isEmpty() ? QDir::currentPath() : request.outDir;
    if (!QDir().mkpath(outDir)) {
        report(QStringLiteral("%1: %2").arg(outDir, msg::batchNoOutputFolder()));
        return 1;
    }

    int failed = 0;
    QSet<QString> written;
    const qsizetype total = request.pictures.size();
    for (qsizetype i = 0; i < total; ++i) {
        const QString& picture = request.pictures[i];
        const QString outPath = QDir(outDir).filePath(QFileInfo(picture).completeBaseName() + ".txt");
        const QString head = QStringLiteral("[%1/%2] %3").arg(i + 1).arg(total).arg(picture);
        // Two pictures of one name would write one file; the second must not
        // replace the first one's numbers.
        PictureRun run = written.contains(QFileInfo(outPath).absoluteFilePath())
                             ? PictureRun{msg::batchSameName(QFileInfo(outPath).fileName())}
                             : digitise(project, picture, outPath, pictures);
        if (!run.failure.isEmpty()) {
            ++failed;
            report(QStringLiteral("%1: %2").arg(head, run.failure));
            continue;
        }
        written.insert(QFileInfo(outPath).absoluteFilePath());
        report(QStringLiteral("%1 -> %2: %3%4").arg(head, outPath, run.lost ? msg::traceLost() : QString(),
                                                    msg::traced(run.points)));
    }
    if (failed > 0)
        report(msg::batchFailures(failed, total));
    return failed > 0 ? 1 : 0;
}
