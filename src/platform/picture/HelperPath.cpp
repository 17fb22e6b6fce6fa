#include "platform/picture/HelperPath.h"

#include <QCoreApplication>

#ifndef ORVANTA_DECODER_HELPER
#define ORVANTA_DECODER_HELPER "orvanta-decode"
#endif

QString decoderHelperPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" ORVANTA_DECODER_HELPER);
}
