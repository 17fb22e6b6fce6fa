#include "capture/DataSheet.h"

#include <gtest/gtest.h>

namespace {

TEST(DataSheetLineTest, MixesNumberAndExponentForms)
{
    EXPECT_EQ(dataLine(CursorValue(QStringLiteral("1.23E4")), CursorValue(0.0123)),
              QStringLiteral("1.23E4\t0.0123\r\n"));
    EXPECT_EQ(dataLine(CursorValue(0.0), CursorValue(-1250.0)), QStringLiteral("0\t-1250\r\n"));
    // A value never computed leaves its column empty.
    EXPECT_EQ(dataLine(CursorValue(), CursorValue(5.0)), QStringLiteral("\t5\r\n"));
}

struct FileCase {
    const char* name;
    QString sheet;
    QByteArray bytes;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class DataFileBytesTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(DataFileBytesTest, WritesEveryBreakAsOneCrLf)
{
    EXPECT_EQ(dataFileBytes(GetParam().sheet).toHex(' ').toStdString(),
              GetParam().bytes.toHex(' ').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, DataFileBytesTest,
    ::testing::Values(
        FileCase{"empty", QString(), QByteArray()},
        FileCase{"text box LF", QStringLiteral("1\t2\n3\t4\n"), QByteArray("1\t2\r\n3\t4\r\n")},
        FileCase{"already CR LF", QStringLiteral("1\t2\r\n3\t4\r\n"), QByteArray("1\t2\r\n3\t4\r\n")},
        FileCase{"paragraph separators", QStringLiteral("1\t2") + QChar::ParagraphSeparator + QStringLiteral("3"),
                 QByteArray("1\t2\r\n3")},
        FileCase{"line separator and lone CR", QStringLiteral("a") + QChar::LineSeparator + QStringLiteral("b\rc"),
                 QByteArray("a\r\nb\r\nc")},
        FileCase{"typed last line without break", QStringLiteral("1\t2\nnote"), QByteArray("1\t2\r\nnote")},
        FileCase{"blank lines kept", QStringLiteral("\n\r\n\n"), QByteArray("\r\n\r\n\r\n")},
        FileCase{"UTF-8 without BOM", QStringLiteral("測定\n"), QByteArray("\xe6\xb8\xac\xe5\xae\x9a\r\n")}));

}  // namespace
