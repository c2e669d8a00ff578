// Reading CSV text: the encoding of the whole file, the three line ends, and quoted fields as RFC
// 4180 writes them, as older exports wrote them (quotes undoubled) and as spreadsheets write them
// (line breaks inside quotes).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "interchange/csvread.h"

namespace talik::test {
namespace {

using Fields = std::vector<std::string>;

std::vector<Fields> ReadAll(std::string_view text)
{
    CsvReader reader(text);
    std::vector<Fields> records;
    Fields fields;
    while (reader.readRecord(fields)) {
        records.push_back(fields);
    }
    return records;
}

TEST(CsvEncoding, IsDecidedFromTheWholeFile)
{
    EXPECT_EQ(DetectCsvEncoding("\xEF\xBB\xBF\"a\"\r\n"), CsvFileEncoding::Utf8);
    EXPECT_EQ(DetectCsvEncoding("\"\xE5\xB1\xB1\xE7\x94\xB0\"\n"), CsvFileEncoding::Utf8); // 山田 without BOM
    EXPECT_EQ(DetectCsvEncoding("\"\x8E\x52\x93\x63\"\r\n"), CsvFileEncoding::Cp932);      // 山田 in CP932
    EXPECT_EQ(DetectCsvEncoding("\"abc\"\r\n"), CsvFileEncoding::Cp932);                   // nothing above 0x7F
    // Valid UTF-8 at the start does not decide: a CP932 byte further on does.
    EXPECT_EQ(DetectCsvEncoding("\xE5\xB1\xB1\r\n\xB1\xB2\r\n"), CsvFileEncoding::Cp932);
}

TEST(CsvEncoding, Utf16AndNulBytesAreRefusedWhateverTheChoice)
{
    EXPECT_EQ(DetectCsvEncoding("\xFF\xFE\x22"), CsvFileEncoding::Unreadable);
    EXPECT_EQ(DetectCsvEncoding("\xFE\xFF"), CsvFileEncoding::Unreadable);
    EXPECT_EQ(DetectCsvEncoding(std::string("a,b\r\nc\0d\r\n", 10)), CsvFileEncoding::Unreadable);
    EXPECT_EQ(ChooseCsvEncoding(std::string("a\0", 2), CsvEncoding::Cp932), CsvFileEncoding::Unreadable);
    EXPECT_EQ(ChooseCsvEncoding("\xE5\xB1\xB1", CsvEncoding::Cp932), CsvFileEncoding::Cp932);
    EXPECT_EQ(ChooseCsvEncoding("abc", CsvEncoding::Utf8), CsvFileEncoding::Utf8);
}

TEST(CsvReader, LinesEndAtCrLfLfOrCr)
{
    auto records = ReadAll("a,1\r\nb,2\nc,3\rd,4");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1], (Fields{"b", "2"}));
    EXPECT_EQ(records[2], (Fields{"c", "3"}));
    EXPECT_EQ(records[3], (Fields{"d", "4"}));
    EXPECT_EQ(ReadAll("a\r\n\r\nb\r\n").size(), 3u); // an empty line is a line; the final line end opens none
}

// One list of fields serves every record: each record leaves exactly its own fields in it.
TEST(CsvReader, EachRecordLeavesOnlyItsOwnFields)
{
    auto records = ReadAll("\"long quoted\",b,\"c\",d\r\n\"x\"\r\ne,\"f\"\r\n\r\ng,h,i,j,k\r\n");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0], (Fields{"long quoted", "b", "c", "d"}));
    EXPECT_EQ(records[1], (Fields{"x"}));
    EXPECT_EQ(records[2], (Fields{"e", "f"}));
    EXPECT_EQ(records[3], (Fields{""}));
    EXPECT_EQ(records[4], (Fields{"g", "h", "i", "j", "k"}));
}

TEST(CsvReader, QuotedFieldsFollowRfc4180)
{
    auto records = ReadAll("\"a\"\"b\",\"\",\"x,y\"\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], (Fields{"a\"b", "", "x,y"}));
    // A comma ending the line opens one more field after an unquoted field, none after a quoted one.
    EXPECT_EQ(ReadAll("a,\r\n")[0], (Fields{"a", ""}));
    EXPECT_EQ(ReadAll("\"a\",\r\n")[0], (Fields{"a"}));
}

TEST(CsvReader, UndoubledQuotesOfOlderExportsStayInTheirField)
{
    auto records = ReadAll("\"山田\"太郎\",\"ﾔﾏﾀﾞ\",\"say \"hi\" now\"\r\n\"next\"\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (Fields{"山田\"太郎", "ﾔﾏﾀﾞ", "say \"hi\" now"}));
    EXPECT_EQ(records[1], (Fields{"next"}));
}

TEST(CsvReader, AQuotedCellRunsOnOverLineBreaks)
{
    auto records = ReadAll("\"ｱ\",\"one\r\ntwo\nthree\",\"x\"\r\n\"ｲ\",\"y\"\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (Fields{"ｱ", "one\r\ntwo\r\nthree", "x"}));
    EXPECT_EQ(records[1], (Fields{"ｲ", "y"}));
}

TEST(CsvReader, AFieldThatNeverClosesTakesTheRestOfItsLineAndReadingGoesOn)
{
    auto records = ReadAll("\"ｱ\",\"open\r\n\"ｲ\"\"x\r\n");
    // The second line does not close the field either (its quote pair is one quote): at the end of
    // the file the first line's rest is the field and the next line is read on its own.
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (Fields{"ｱ", "open"}));
    EXPECT_EQ(records[1][0], "ｲ\"\"x");

    std::string longCell = "\"ｱ\",\"start\r\n";
    for (int i = 0; i < MaxFieldLines + 5; ++i) {
        longCell += "more\r\n";
    }
    longCell += "end\"\r\n";
    auto many = ReadAll(longCell);
    EXPECT_EQ(many[0], (Fields{"ｱ", "start"})); // too many lines: not joined
    EXPECT_EQ(many.size(), static_cast<std::size_t>(MaxFieldLines + 7));
}

TEST(CsvReader, SplitCsvLineReadsOneLineOnly)
{
    EXPECT_EQ(SplitCsvLine("\"a\",\"b\r\nc\""), (Fields{"a", "b"}));
    EXPECT_EQ(SplitCsvLine(""), (Fields{""}));
}

} // namespace
} // namespace talik::test
