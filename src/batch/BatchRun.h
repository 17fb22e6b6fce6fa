#pragma once
// A series of graphs with the same layout, digitised without a window: one
// project's edits, calibration and markers applied to each picture in turn,
// each traced and its sheet written as a text file of its own.
#include "platform/picture/PictureLoader.h"

#include <QString>
#include <QStringList>

#include <functional>

struct BatchRequest {
    QString project;
    QStringList pictures;
    // Where the sheets go, as NAME.txt; the current folder when empty.
    QString outDir;
};

// Runs the batch and returns the program's exit code: 0 when every picture
// gave its file, 1 when any failed or the project could not be used (then
// before any picture is touched). Every picture's progress, and every
// failure with its reason, goes to `report` as one line.
int runBatch(const BatchRequest& request, PictureLoader& pictures, const std::function<void(const QString&)>& report);
