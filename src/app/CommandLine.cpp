#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

#ifndef ORVANTA_VERSION
#define ORVANTA_VERSION "1.0"
#endif

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Turns a picture of a graph back into numbers.");
    const QCommandLineOption help({"h", "help"}, "Shows this help and exits.");
    const QCommandLineOption version({"v", "version"}, "Shows the version and exits.");
    const QCommandLineOption batch("batch",
                                   "Without a window: applies the saved work's clean-up, calibration and "
                                   "markers to each picture, traces it and writes its sheet as NAME.txt.",
                                   "project");
    const QCommandLineOption out("out", "With --batch: the folder for the sheets (default: the current folder).",
                                 "folder");
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(batch);
    parser.addOption(out);
    parser.addPositionalArgument("picture", "Picture or saved work (.orvanta) to open instead of showing the "
                                            "open dialog (bitmap, JPEG, GIF, PNG, TIFF, WebP, EMF or WMF); "
                                            "with --batch, the pictures to digitise.",
                                 "[picture...]");

    // The parser names the program only when an application object exists;
    // this runs before one does.
    const QString program = arguments.isEmpty() ? QStringLiteral("orvanta") : QFileInfo(arguments.first()).fileName();
    QString helpText = parser.helpText();
    helpText.replace("<executable_name>", program);

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.exitCode = 2;
        result.err = QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, parser.errorText());
        return result;
    }
    if (parser.isSet(help)) {
        result.exitCode = 0;
        result.out = helpText;
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.out = QStringLiteral("Orvanta " ORVANTA_VERSION "\n");
        return result;
    }
    QStringList files = parser.positionalArguments();
    const auto usageError = [&](const QString& what) {
        result.exitCode = 2;
        result.err = QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, what);
        return result;
    };
    if (parser.isSet(batch)) {
        if (files.isEmpty())
            return usageError(QStringLiteral("--batch needs at least one picture."));
        result.batch = BatchRequest{parser.value(batch), files, parser.value(out)};
        return result;
    }
    if (parser.isSet(out))
        return usageError(QStringLiteral("--out is for --batch only."));
    if (files.isEmpty())
        return result;
    result.file = files.takeFirst();
    if (!files.isEmpty())
        result.err = QStringLiteral("%1: opens one picture at a time; not opened: %2\n")
                         .arg(program, files.join(QStringLiteral(", ")));
    return result;
}
