#include "capture/DataSheet.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(DataSheet, LinesMixNumberAndExponentFormsAndTheFileEndsEveryLineWithOneCrLf)
{
    EXPECT_EQ(dataLine(CursorValue(QStringLiteral("1.23E4")), CursorValue(0.0123)), "1.23E4\t0.0123\r\n");
    EXPECT_EQ(dataLine(CursorValue(0.0), CursorValue(-1250.0)), "0\t-1250\r\n");
    EXPECT_EQ(dataLine(CursorValue(), CursorValue(5.0)), "\t5\r\n") << "a value never computed leaves its column empty";
    const std::pair<QString, QByteArray> sheets[] = {
        {QString(), QByteArray()}, {"1\t2\n3\t4\n", "1\t2\r\n3\t4\r\n"}, {"1\t2\r\n3\t4\r\n", "1\t2\r\n3\t4\r\n"},
        {"1\t2" + QString(QChar::ParagraphSeparator) + "3", "1\t2\r\n3"},
        {"a" + QString(QChar::LineSeparator) + "b\rc", "a\r\nb\r\nc"},
        {"1\t2\nnote", "1\t2\r\nnote"}, // typed last line without break
        {"\n\r\n\n", "\r\n\r\n\r\n"}, {"測定\n", "\xe6\xb8\xac\xe5\xae\x9a\r\n"}, // UTF-8 without BOM
    };
    for (const auto& [sheet, bytes] : sheets)
        EXPECT_EQ(dataFileBytes(sheet).toHex(' ').toStdString(), bytes.toHex(' ').toStdString());
}

} // namespace
