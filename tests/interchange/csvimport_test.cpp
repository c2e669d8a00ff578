// The import into a database on disk: the mapping, the birthday rule, the reading check and its
// report, UTF-8 files, clean records, full groups, the record ceiling and a file exported earlier.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "interchange/csvimport.h"
#include "listwin/currentrecord.h"
#include "platform/codec.h"
#include "store/database.h"
#include "store/dbfile.h"
#include "store/recordwriter.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class CsvImportTest : public StoreTest
{
protected:
    CsvImportTest() { load(); }

    ImportCounts import(std::string_view file, const CsvImportOptions& options = {})
    {
        return ImportCsvFile(state, file, options);
    }
    // Record `recNo` read back from the files.
    void read(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        ASSERT_TRUE(ReadCurrent(state));
    }
    // A database whose records 2..last all hold a reading of group あ.
    void fillWithGroupA(std::int32_t last)
    {
        WriteRecords(mainPath(), {HandMainHeader(last)});
        std::filesystem::resize_file(mainPath(), static_cast<std::uintmax_t>(last) * 600u);
        std::fstream f(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        for (std::int32_t rec = 2; rec <= last; ++rec) {
            f.seekp((rec - 1) * 600);
            f.put('\xb1');
        }
        f.close();
        load();
        ui.shown.clear(); // the load told of the full group
    }
};

// A line of the export for this reading and name, in CP932.
std::string Line(std::string_view reading, std::string_view name = "名")
{
    return ToCp932("\"" + std::string(reading) + "\",\"" + std::string(name) + "\"\r\n");
}

TEST_F(CsvImportTest, AFileWrittenByTheExportComesBackWhole)
{
    // Written by hand as the export writes it: the header, every field quoted, quotes doubled.
    std::string file = ToCp932(CsvHeaderLine() + "\r\n") +
                       ToCp932("\"ﾔﾏﾀﾞ ﾀﾛｳ\",\"山田\"\"太郎\",\"taro@example.jp\",\"1965/04/12\",\"A1\",\"100-0001\","
                               "\"東京都千代田区千代田1-1\",\"03-1111-2222\",\"03-1111-3333\",\"530-0001\","
                               "\"大阪府大阪市北区梅田1-1\",\"06-1111-2222\",\"06-1111-3333\",\"山田商事株式会社\","
                               "\"営業部\",\"備考〜です\",\"追加データの一行目と二行目\",\"/home/taro/a.txt\"\r\n") +
                       ToCp932("\"ｲﾄｳ\",\"伊藤\",\"\",\"0000/00/00\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
                               "\"\",\"\",\"\",\"\",\"\"\r\n");
    CsvImportOptions options;
    options.skipFirst = true;
    options.checkItems[2] = '1';
    ImportCounts result = import(file, options);
    EXPECT_EQ(result.lines, 2);
    EXPECT_EQ(result.failures, 0);
    EXPECT_EQ(state.tables.TotalCount, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田\"太郎");
    EXPECT_EQ(GetText(state.Rec.EMail), "taro@example.jp");
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19650412);
    EXPECT_EQ(GetText(state.Rec.ClassCode), "A1");
    EXPECT_EQ(GetText(state.Rec.PostCode1), "100-0001");
    EXPECT_EQ(GetText(state.Rec.Address1), "東京都千代田区千代田1-1");
    EXPECT_EQ(GetText(state.Rec.Tel1), "03-1111-2222");
    EXPECT_EQ(GetText(state.Rec.Fax1), "03-1111-3333");
    EXPECT_EQ(GetText(state.Rec.PostCode2), "530-0001");
    EXPECT_EQ(GetText(state.Rec.Address2), "大阪府大阪市北区梅田1-1");
    EXPECT_EQ(GetText(state.Rec.Tel2), "06-1111-2222");
    EXPECT_EQ(GetText(state.Rec.Fax2), "06-1111-3333");
    EXPECT_EQ(GetText(state.Rec.Company), "山田商事株式会社");
    EXPECT_EQ(GetText(state.Rec.Department), "営業部");
    EXPECT_EQ(GetText(state.Rec.Remarks), "備考～です"); // CP932 folds the wave dash
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "追加データの一行目と二行目");
    EXPECT_EQ(GetText(state.Extra.RelatedInfo), "/home/taro/a.txt");
    EXPECT_EQ(std::string(state.Rec.CheckItems, 15), "  1            ");
    read(3);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｲﾄｳ");
    EXPECT_EQ(GetLong(state.Rec.Birthday), 0);
}

// The name field holds 30 bytes: one ASCII letter and fourteen kanji fill 29 of them, and the
// fifteenth kanji would leave its first byte alone at the end.
TEST_F(CsvImportTest, AValueLongerThanItsFieldIsCutBetweenCharacters)
{
    std::string fifteen;
    for (int i = 0; i < 15; ++i) {
        fifteen += "漢";
    }
    ASSERT_EQ(import(Line("ｱ", "x" + fifteen)).failures, 0);
    read(2);
    const std::string stored(state.Rec.KanjiName, sizeof(state.Rec.KanjiName));
    EXPECT_EQ(stored, ToCp932("x" + fifteen.substr(0, 14 * 3)) + " ");
}

TEST_F(CsvImportTest, WithoutSkippingTheHeaderLineIsDataToo)
{
    std::string file = ToCp932(CsvHeaderLine() + "\r\n") + Line("ｱ");
    EXPECT_EQ(import(file).lines, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "カナ名");
    EXPECT_EQ(KanaGroup("カナ名"), OtherGroup);
}

TEST_F(CsvImportTest, AQuotedCommaStaysInItsFieldUnderASwappedMapping)
{
    CsvImportOptions options;
    options.map.fill({});
    options.map[0] = {2};
    options.map[1] = {1};
    import(ToCp932("\"山田,太郎\",\"ﾔﾏﾀﾞ\"\r\n"), options);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ﾔﾏﾀﾞ");
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田,太郎");
}

TEST_F(CsvImportTest, OldUndoubledQuotesAndLfOnlyLinesAreRead)
{
    import(ToCp932("\"ﾔﾏﾀﾞ\",\"山田\"太郎\"\n\"ｲﾄｳ\",\"伊藤\"\"花子\"\n"));
    EXPECT_EQ(state.tables.TotalCount, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田\"太郎");
    read(3);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "伊藤\"花子");
}

TEST_F(CsvImportTest, LineBreaksInsideACellSurviveOnlyInTheRemarksExtraData)
{
    CsvImportOptions options;
    options.map.fill({});
    options.map[0] = {1};
    options.map[static_cast<int>(CsvSlot::Remarks)] = {2};
    options.map[static_cast<int>(CsvSlot::RemarksExtra)] = {2};
    ImportCounts result = import(ToCp932("\"ｱ\",\"一行目\n二行目\"\r\n\"ｲ\",\"x\"\r\n"), options);
    EXPECT_EQ(result.lines, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.Remarks), "一行目二行目");
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "一行目\r\n二行目");
}

TEST_F(CsvImportTest, BirthdaysNeedDigitsInPlaceAndAPossibleMonthAndDay)
{
    EXPECT_EQ(ParseCsvBirthday("1965/04/12"), 19650412);
    EXPECT_EQ(ParseCsvBirthday("1965-04-12"), 19650412);
    EXPECT_EQ(ParseCsvBirthday("1965/4/12"), 0);
    EXPECT_EQ(ParseCsvBirthday("1965/13/01"), 0);
    EXPECT_EQ(ParseCsvBirthday("1965/12/32"), 0);
    EXPECT_EQ(ParseCsvBirthday(" 965/04/12"), 0);
    EXPECT_EQ(ParseCsvBirthday("0000/00/00"), 0);
    EXPECT_EQ(ParseCsvBirthday("1965/00/00"), 19650000);
    EXPECT_EQ(ParseCsvBirthday(ToCp932("１９６５/04/12")), 0); // full-width digits are not digits here
    // The export's form is looked for in the untrimmed text; a blank in front makes it another
    // form, which the import reads trimmed.
    import(ToCp932("\"ｱ\",\"\",\"\",\" 1965/04/12\"\r\n\"ｲ\",\"\",\"\",\"1965-04-12\"\r\n"));
    read(2);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19650412);
    read(3);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19650412);
}

TEST_F(CsvImportTest, ColumnsMissingFromALineLeaveBlanksAndExtraColumnsAreIgnored)
{
    CsvImportOptions options;
    options.map.fill({});
    options.map[0] = {1};
    options.map[1] = {3};
    options.map[static_cast<int>(CsvSlot::Company)] = {4};
    import(ToCp932("ｱ,x,名前\r\nｲ,x,名前,会社,余り,余り\r\n"), options);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "名前");
    EXPECT_EQ(GetText(state.Rec.Company), "");
    read(3);
    EXPECT_EQ(GetText(state.Rec.Company), "会社");
    EXPECT_EQ(GetText(state.Rec.EMail), "");
}

TEST_F(CsvImportTest, LinesWithoutAReadingAreCountedAndReported)
{
    std::string file;
    for (int i = 0; i < 10; ++i) {
        file += i == 3 || i == 7 ? ToCp932("\"  \",\"名無し\"\r\n") : Line("ｱ");
    }
    ImportCounts result = import(file);
    EXPECT_EQ(state.tables.TotalCount, 8);
    EXPECT_EQ(ImportReport(result, "フリガナ"),
              "8 件のデータを取込みました。\r\n2 件はフリガナなしで取込めませんでした。（4、8 行目）");
    ImportCounts three;
    three.lines = 3;
    EXPECT_EQ(ImportReport(three, "フリガナ"), "3 件のデータを取込みました。");
}

TEST_F(CsvImportTest, BirthdaysOfOtherProgramsAreReadAndThoseThatAreNoDateReportedByLine)
{
    std::string file = ToCp932(CsvHeaderLine() + "\r\n");
    int line = 1;
    for (const char* birthday : {"1965/4/12", "不明", "S25.1.2", "", "1965/13/01", "R2年5月1日", "頃"}) {
        file += ToCp932("\"ｱ" + std::to_string(++line) + "\",\"名\",\"\",\"" + birthday + "\"\r\n");
    }
    file += ToCp932("\"ｲ\",\"複数行\n備考\",\"\",\"?\"\r\n"); // starts on line 9, ends on line 10
    file += ToCp932("\"\",\"名無し\"\r\n");                   // line 11
    CsvImportOptions options;
    options.skipFirst = true;
    ImportCounts result = import(file, options);
    read(2);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19650412);
    read(4);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19500102);
    read(7);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 20200501);
    read(3);
    EXPECT_EQ(GetLong(state.Rec.Birthday), 0);
    EXPECT_EQ(ImportReport(result, "フリガナ"), "8 件のデータを取込みました。\r\n"
                                                "1 件はフリガナなしで取込めませんでした。（11 行目）\r\n"
                                                "内 4 件は生年月日を読めませんでした。（3、6、8、9 行目）");
}

TEST_F(CsvImportTest, NumbersInTheFaxColumnsAreLabelledFax)
{
    // Tel1 and Fax1 are columns 8 and 9, Tel2 and Fax2 12 and 13.
    import(ToCp932("\"ｱ\",\"名\",,,,,,\"03-1111-2222\",\"03-1111-2223\",,,,\"06-3333-4444\"\r\n"));
    read(2);
    EXPECT_EQ(PhoneKind(state.Rec, 0), 0);
    EXPECT_EQ(PhoneKind(state.Rec, 1), 1);
    EXPECT_EQ(PhoneKind(state.Rec, 2), 0);
    EXPECT_EQ(PhoneKind(state.Rec, 3), 1);
}

TEST_F(CsvImportTest, TheReportNamesTheFirstTenLinesOnly)
{
    std::string file;
    for (int i = 0; i < 12; ++i) {
        file += ToCp932("\"ｱ\",\"名\",\"\",\"いつか\"\r\n");
    }
    ImportCounts result = import(file);
    EXPECT_EQ(ImportReport(result, "フリガナ"),
              "12 件のデータを取込みました。\r\n内 12 件は生年月日を読めませんでした。（1、2、3、4、5、6、7、8、9、10 "
              "行目 ほか）");
}

TEST_F(CsvImportTest, AReadingThatWouldMarkTheRecordDeletedIsNotStored)
{
    ImportCounts result = import(std::string("\"\xFD\xB1\",\"x\"\r\n\"\xFF\",\"y\"\r\n") + Line("ｱ"));
    EXPECT_EQ(result.lines, 3);
    EXPECT_EQ(result.failures, 2);
    EXPECT_EQ(state.tables.TotalCount, 1);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｱ");
}

TEST_F(CsvImportTest, Utf8FilesWithoutBomAreReadAsUtf8AndLackingCharactersReported)
{
    std::string file = "\"ﾔﾏﾀﾞ\",\"山田〜太郎\"\n\"ｲﾄｳ\",\"伊藤😀\"\n\"ｳｴﾉ\",\"上野\xEF\x9E\x80\"\n";
    ImportCounts result = import(file);
    EXPECT_EQ(result.lines, 3);
    EXPECT_EQ(result.lackingLines, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田～太郎");
    read(3);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "伊藤?");
    read(4);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "上野?"); // an escape character from outside is no raw byte
    EXPECT_EQ(
        ImportReport(result, "フリガナ"),
        "3 件のデータを取込みました。\r\n内 2 件は Shift-JIS にない文字を「?」に置き換えて取込みました。（2、3 行目）");
}

TEST_F(CsvImportTest, FullWidthReadingsTurnHalfWidthWhenAsked)
{
    CsvImportOptions options;
    options.halfKana = true;
    import("\"やまだ　たろう\",\"山田\"\r\n", options);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(state.tables.GroupCount(KanaGroup("ﾔ")), 1);
}

TEST_F(CsvImportTest, EveryRecordStartsFromACleanBuffer)
{
    ClearRecord(state.Rec);
    SetText(state.Rec.Honorific, "様");
    SetInteger(state.Rec.PrintOptions, 11111);
    SetInteger(state.Rec.PhoneKinds, 1234);
    state.Rec.SenderChoice[0] = '1';
    std::memcpy(state.Rec.Reserved, "leftover bytes", 14);
    SetText(state.Extra.RelatedInfo, "前のレコード");
    CsvImportOptions options;
    options.map.fill({});
    options.map[0] = {1};
    options.checkItems[0] = '1';
    import(Line("ｱ"), options);
    read(2);
    AddressRecord expected{};
    ClearRecord(expected);
    SetText(expected.KanaName, "ｱ");
    expected.CheckItems[0] = '1';
    TakeIdentity(expected, state.Rec); // a fresh one, not what the buffer held
    EXPECT_EQ(std::memcmp(&state.Rec, &expected, sizeof(expected)), 0);
    ExtraRecord expectedExtra{};
    ClearRecord(expectedExtra);
    EXPECT_EQ(std::memcmp(&state.Extra, &expectedExtra, sizeof(expectedExtra)), 0);
}

TEST_F(CsvImportTest, AFullGroupIsToldOnceAndItsRecordsStillCount)
{
    fillWithGroupA(3001); // 3000 readings of group あ
    ImportCounts result = import(Line("ｱ1") + Line("ｱ2") + Line("ｶ") + Line("ｱ3"));
    EXPECT_EQ(result.lines, 4);
    EXPECT_EQ(state.tables.TotalCount, 3004);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "'あ'のテーブルが3000件を超えています。");
    EXPECT_EQ(LongAt(ReadFileBytes(mainPath()), 16), 3005);
}

TEST_F(CsvImportTest, AtTheCeilingTheImportStopsAndTellsHowFarItGot)
{
    fillWithGroupA(63998); // two numbers left: 63999 and 64000
    ImportCounts result = import(Line("ｶ1") + Line("  ") + Line("ｶ2") + Line("ｶ3") + Line("ｶ4"));
    EXPECT_EQ(result.stoppedAt, 4);
    EXPECT_EQ(result.failures, 1);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].substr(0, ui.messages()[0].find('\r')),
              "データベースの登録件数が上限（63999件）に達しているため、これ以上登録できません。");
    EXPECT_EQ(ImportStoppedReport(result), // ｶ1 and ｶ2 were stored; the line without a reading was not
              "2 件のデータを取込みました。\r\n4 件目で中断しました。以降のデータは取込まれていません。");
    EXPECT_EQ(LongAt(ReadFileBytes(mainPath()), 16), 64000);
}

TEST_F(CsvImportTest, TheFirstLineIsKnownWhenItIsTheExportHeader)
{
    std::string file = ToCp932(CsvHeaderLine() + "\r\n") + Line("ｱ");
    CsvPreview preview = PreviewCsv(file, CsvFileEncoding::Cp932);
    EXPECT_TRUE(preview.isExportHeader);
    ASSERT_EQ(preview.fields.size(), 18u);
    EXPECT_EQ(preview.fields[0], "カナ名");
    EXPECT_EQ(preview.fields[17], "関連情報");
    std::string utf8 = std::string(Utf8Bom) + CsvHeaderLine() + "\n";
    EXPECT_TRUE(PreviewCsv(utf8, CsvFileEncoding::Utf8).isExportHeader);
    EXPECT_FALSE(PreviewCsv(Line("ｱ"), CsvFileEncoding::Cp932).isExportHeader);
}

} // namespace
} // namespace talik::test

namespace talik::test {
namespace {

TEST_F(CsvImportTest, WhileTheImportHoldsTheFilesOtherWritersWaitAndAreTold)
{
    std::optional<RecordWriter> held = RecordWriter::hold(state);
    ASSERT_TRUE(held.has_value());
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ｱ");
    state.CurRecNo = 0;
    EXPECT_FALSE(SaveCurrent(state)); // a save of its own meets the lock, as another copy would
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("他の人がデータベース（", 0), 0u);
    EXPECT_EQ(clock.slept, static_cast<long long>(LockAttempts - 1) * LockRetryMs);
    EXPECT_EQ(held->add(state.Rec, state.Extra), 2);
}

} // namespace
} // namespace talik::test
