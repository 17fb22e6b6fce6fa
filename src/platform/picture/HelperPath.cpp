#include "platform/picture/HelperPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef ORVANTA_DECODER_HELPER
#define ORVANTA_DECODER_HELPER "orvanta-decode"
#endif
// The helper's installed folder relative to the program's, as the build
// configured the installation.
#ifndef ORVANTA_HELPER_DIR_FROM_BIN
#define ORVANTA_HELPER_DIR_FROM_BIN "../libexec/orvanta"
#endif

QString decoderHelperPath(const QString& programDir)
{
    const QDir dir(programDir);
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral(ORVANTA_HELPER_DIR_FROM_BIN "/" ORVANTA_DECODER_HELPER)));
    if (QFileInfo(installed).isExecutable())
        return installed;
    return dir.filePath(QStringLiteral(ORVANTA_DECODER_HELPER));
}

QString decoderHelperPath() { return decoderHelperPath(QCoreApplication::applicationDirPath()); }
