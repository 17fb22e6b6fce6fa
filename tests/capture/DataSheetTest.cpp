#include "capture/DataSheet.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(DataSheet, LineMixesNumberAndExponentForms)
{
    EXPECT_EQ(dataLine(CursorValue(QStringLiteral("1.23E4")), CursorValue(0.0123)), QStringLiteral("1.23E4\t0.0123\r\n"));
    EXPECT_EQ(dataLine(CursorValue(0.0), CursorValue(-1250.0)), QStringLiteral("0\t-1250\r\n"));
    // A value never computed leaves its column empty.
    EXPECT_EQ(dataLine(CursorValue(), CursorValue(5.0)), QStringLiteral("\t5\r\n"));
}

TEST(DataSheet, FileWritesEveryBreakAsOneCrLf)
{
    const std::pair<QString, QByteArray> sheets[] = {
        {QString(), QByteArray()},
        {QStringLiteral("1\t2\n3\t4\n"), "1\t2\r\n3\t4\r\n"},
        {QStringLiteral("1\t2\r\n3\t4\r\n"), "1\t2\r\n3\t4\r\n"},
        {QStringLiteral("1\t2") + QChar::ParagraphSeparator + QStringLiteral("3"), "1\t2\r\n3"},
        {QStringLiteral("a") + QChar::LineSeparator + QStringLiteral("b\rc"), "a\r\nb\r\nc"},
        {QStringLiteral("1\t2\nnote"), "1\t2\r\nnote"}, // typed last line without break
        {QStringLiteral("\n\r\n\n"), "\r\n\r\n\r\n"},
        {QStringLiteral("測定\n"), "\xe6\xb8\xac\xe5\xae\x9a\r\n"}, // UTF-8 without BOM
    };
    for (const auto& [sheet, bytes] : sheets)
        EXPECT_EQ(dataFileBytes(sheet).toHex(' ').toStdString(), bytes.toHex(' ').toStdString());
}

} // namespace
