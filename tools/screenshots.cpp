// Renders the main window, its dialogs and the About box to PNG files, for the
// README and for looking at the program without a display:
//   QT_QPA_PLATFORM=offscreen build/orvanta_screenshots docs/ [picture]
#include "support/MainWindowHarness.h"

#include "platform/picture/QtPictureLoader.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);

    MainWindowHarness h;
    QtPictureLoader realLoader;
    QImage picture = samplePicture(600, 400);
    if (argc > 2) {
        h.fakes.pictures = &realLoader;
        h.fakes.files.openAnswers.push_back(QString::fromLocal8Bit(argv[2]));
        h.window = std::make_unique<frmMainPic>(h.fakes.platform());
        if (!h.window->Form_Load())
            return 1;
        h.window->show();
        QTest::qWaitForWindowExposed(h.window.get());
    } else if (!h.start(picture)) {
        return 1;
    }
    QApplication::processEvents();
    h.window->grab().save(outDir + "/main-window.png");

    h.window->showMaximized();
    QApplication::processEvents();
    QTest::qWait(50);
    h.window->grab().save(outDir + "/main-window-maximised.png");
    h.window->showNormal();
    QApplication::processEvents();

    auto grabDialog = [&](const char* name, const char* file, std::function<void()> open) {
        h.withDialog(name, [&](QWidget* d) {
            QApplication::processEvents();
            d->grab().save(outDir + "/" + file);
            d->close();
        }, open);
    };
    grabDialog("frmXYSetting", "reference-dialog.png", [&] { h.window->cmdAutoTraseSetting_Click(); });
    grabDialog("frmTraseSet", "trace-settings.png", [&] { h.window->mnuToolTraseSetting_Click(); });
    grabDialog("frmPicColorSet", "binarise-dialog.png", [&] { h.window->mnuToolDiValue_Click(); });
    grabDialog("frmAbout", "about.png", [&] { h.window->mnuHelpAbout_Click(); });
    return 0;
}
