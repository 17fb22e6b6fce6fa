#pragma once
// The one application object a benchmark run may have: fonts for metafile
// text and painting need it, and it lives as long as the run.
#include <QCoreApplication>
#include <QGuiApplication>

inline void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvanta_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}
