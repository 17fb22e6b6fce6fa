// Start-up: the splash for two seconds, then the picture named on the command
// line or the open dialog; without a picture the program ends before the main
// window is shown.
#include "app/Artwork.h"
#include "app/CommandLine.h"
#include "app/frmMainPic.h"
#include "app/frmSplash.h"
#include "platform/picture/QtPictureLoader.h"
#include "platform/qt/QtColorDialog.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtLoadProgress.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtPointerConfinement.h"
#include "platform/qt/QtSystemServices.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(arguments);
    std::fputs(commandLine.out.toLocal8Bit().constData(), stdout);
    std::fputs(commandLine.err.toLocal8Bit().constData(), stderr);
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    // The command line is ours alone: Qt must not take a picture's name for
    // one of its own options.
    int qtArgc = 1;
    if (commandLine.batch) {
        // No window, so no display is needed.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(qtArgc, argv);
        QtPictureLoader pictures;
        return runBatch(*commandLine.batch, pictures, [](const QString& line) {
            std::fputs((line + '\n').toLocal8Bit().constData(), stderr);
            std::fflush(stderr);
        });
    }
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName("Orvanta");
    QApplication::setWindowIcon(windowIcon());

    QtFileDialogs files;
    QtColorDialog colors;
    QtMessageBoxes messages;
    QtSystemServices system;
    QtPointerConfinement pointer;
    QtLoadProgress progress;
    QtPictureLoader pictures(QString(), &progress);
    Platform platform{files, colors, messages, system, pointer, pictures};

    {
        frmSplash splash;
        splash.showFor(2000);
    }

    frmMainPic window(platform);
    if (!window.Form_Load(commandLine.file))
        return 0;

    // A quarter of the free screen space from the top-left, not centred.
    if (QScreen* screen = QApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        const QSize outer = window.frameGeometry().size();
        window.move(free.left() + (free.width() - outer.width()) / 4,
                    free.top() + (free.height() - outer.height()) / 4);
    }
    window.show();
    return app.exec();
}
