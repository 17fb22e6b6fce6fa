#pragma once
// What the command line asks for, decided before any window exists so that
// --help and --version answer without a display.
#include "batch/BatchRun.h"

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine {
    // The picture to open instead of showing the open dialog; empty for the dialog.
    QString file;
    // Set for a run without a window over a series of pictures.
    std::optional<BatchRequest> batch;
    // Set when the program is to print `out` and `err` and end with this code.
    std::optional<int> exitCode;
    QString out;  // for standard output
    QString err;  // for standard error: warnings and errors
};

// `arguments` as the program got them, the program's own name first.
CommandLine parseCommandLine(const QStringList& arguments);
