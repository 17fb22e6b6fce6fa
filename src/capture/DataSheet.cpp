#include "capture/DataSheet.h"

QString dataLine(const CursorValue& x, const CursorValue& y)
{
    return x.text() + QLatin1Char('\t') + y.text() + QStringLiteral("\r\n");
}

QByteArray dataFileBytes(const QString& sheetText)
{
    QString normalised;
    normalised.reserve(sheetText.size() + sheetText.size() / 8);
    for (qsizetype i = 0; i < sheetText.size(); ++i) {
        const QChar c = sheetText[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < sheetText.size() && sheetText[i + 1] == QLatin1Char('\n'))
                ++i;
            normalised += QStringLiteral("\r\n");
        } else if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator
                   || c == QChar::LineSeparator) {
            normalised += QStringLiteral("\r\n");
        } else {
            normalised += c;
        }
    }
    return normalised.toUtf8();
}
