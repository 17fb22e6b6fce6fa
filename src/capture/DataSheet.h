#pragma once
// The data sheet's format: one captured point per line, and the bytes of the
// saved text file.
#include "platform/CursorValue.h"

#include <QByteArray>
#include <QString>

// x text, TAB, y text, CR LF. An empty cursor value gives an empty column.
QString dataLine(const CursorValue& x, const CursorValue& y);

// The file contents for the sheet's text: UTF-8 without a byte order mark, every
// line break (LF, CR LF, a lone CR, or a Unicode line/paragraph separator as a
// text box may hand them out) written as exactly one CR LF. A last line without
// a break stays without one.
QByteArray dataFileBytes(const QString& sheetText);

// Designed width of the data sheet in twips for a number of significant figures;
// the window widens the sheet where its font needs more for the widest values.
inline int dataSheetWidth(int effectiveFigure) { return 1650 + 50 * effectiveFigure; }
