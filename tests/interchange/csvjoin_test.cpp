// Columns joined into one field, the header lines recognised (each family built as a small file),
// joint names from a column, and what an import does with a person already stored.
#include <gtest/gtest.h>

#include "interchange/csvcolumns.h"
#include "interchange/csvheaders.h"
#include "interchange/csvimport.h"
#include "interchange/jointnametext.h"
#include "listwin/currentrecord.h"
#include "platform/codec.h"
#include "store/identity.h"
#include "store/sidestore.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

std::vector<std::string> FieldList(std::initializer_list<const char*> names)
{
    return {names.begin(), names.end()};
}

TEST(CsvColumns, PartsJoinWithOneBlankOrNoneAndEmptyPartsAddNothing)
{
    EXPECT_EQ(JoinParts({"山田", "太郎"}, JoinStyle::Blank), "山田 太郎");
    EXPECT_EQ(JoinParts({" 山田 ", "", "太郎"}, JoinStyle::Blank), "山田 太郎");
    EXPECT_EQ(JoinParts({"", "太郎"}, JoinStyle::Blank), "太郎");
    EXPECT_EQ(JoinParts({"東京都", "世田谷区", "桜新町1-2", ""}, JoinStyle::Packed), "東京都世田谷区桜新町1-2");
    CsvColumns columns{};
    ASSERT_TRUE(ParseJoinedColumns("2+3+7", 99, columns));
    EXPECT_EQ(columns, (CsvColumns{2, 3, 7, 0}));
    EXPECT_TRUE(ParseJoinedColumns("4", 99, columns));
    EXPECT_FALSE(ParseJoinedColumns("2+", 99, columns));
    EXPECT_FALSE(ParseJoinedColumns("1+2+3+4+5", 99, columns));
    EXPECT_FALSE(ParseJoinedColumns("x", 99, columns));
}

TEST(JointNameText, PiecesWithABlankCarryTheirFamilyNameAndTheHonorificComesOff)
{
    std::vector<JointName> names = ParseJointNames("花子様・山田　一郎、 次郎 ・・佐藤 三郎様・四郎・五郎");
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], (JointName{"", "花子", "様"}));
    EXPECT_EQ(names[1], (JointName{"山田", "一郎", "様"}));
    EXPECT_EQ(names[2], (JointName{"", "次郎", "様"}));
    EXPECT_EQ(names[3], (JointName{"佐藤", "三郎", "様"}));
    EXPECT_TRUE(ParseJointNames("").empty());
}

// Each family of header lines: which columns each field takes, in the order they are joined.
TEST(CsvHeaders, OurOwnExportReadsBackColumnForColumn)
{
    CsvPreview preview = PreviewCsv(ToCp932(CsvHeaderLine() + "\r\n"), CsvFileEncoding::Cp932);
    ASSERT_TRUE(preview.guessed);
    EXPECT_EQ(*preview.guessed, DefaultCsvMap());
}

TEST(CsvHeaders, JapaneseSpreadsheetHeadingsJoinFamilyBeforeGivenAndPrefectureFirst)
{
    // The columns in an order of their own: given before family, street before prefecture.
    std::optional<CsvMap> map = GuessCsvMap(
        FieldList({"名", "姓", "メイ", "セイ", "番地", "建物名", "都道府県", "市区町村", "郵便番号", "電話番号",
                   "携帯電話", "FAX", "メールアドレス", "誕生日", "会社名", "部署", "メモ", "連名"}));
    ASSERT_TRUE(map);
    auto at = [&](CsvSlot slot) { return (*map)[static_cast<int>(slot)]; };
    EXPECT_EQ(at(CsvSlot::KanjiName), (CsvColumns{2, 1, 0, 0}));
    EXPECT_EQ(at(CsvSlot::KanaName), (CsvColumns{4, 3, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Address1), (CsvColumns{7, 8, 5, 6}));
    EXPECT_EQ(at(CsvSlot::PostCode1), (CsvColumns{9, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Tel1), (CsvColumns{10, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Tel2), (CsvColumns{11, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Fax1), (CsvColumns{12, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::EMail), (CsvColumns{13, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Birthday), (CsvColumns{14, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Company), (CsvColumns{15, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Department), (CsvColumns{16, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Remarks), (CsvColumns{17, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::JointNames), (CsvColumns{18, 0, 0, 0}));
}

TEST(CsvHeaders, AWholeColumnStandsForThePartsAFileLacks)
{
    std::optional<CsvMap> map = GuessCsvMap(FieldList({"氏名", "ふりがな", "住所", "建物名", "生年月日", "備考"}));
    ASSERT_TRUE(map);
    EXPECT_EQ((*map)[static_cast<int>(CsvSlot::KanjiName)], (CsvColumns{1, 0, 0, 0}));
    EXPECT_EQ((*map)[static_cast<int>(CsvSlot::KanaName)], (CsvColumns{2, 0, 0, 0}));
    EXPECT_EQ((*map)[static_cast<int>(CsvSlot::Address1)], (CsvColumns{3, 4, 0, 0}));
    // Beside family and given name the whole name is not taken again.
    map = GuessCsvMap(FieldList({"氏名", "姓", "名", "よみ"}));
    ASSERT_TRUE(map);
    EXPECT_EQ((*map)[static_cast<int>(CsvSlot::KanjiName)], (CsvColumns{2, 3, 0, 0}));
}

TEST(CsvHeaders, OneWebAddressBooksOlderAndCurrentExports)
{
    std::optional<CsvMap> old = GuessCsvMap(FieldList({"Name",
                                                       "Given Name",
                                                       "Additional Name",
                                                       "Family Name",
                                                       "Yomi Name",
                                                       "Given Name Yomi",
                                                       "Additional Name Yomi",
                                                       "Family Name Yomi",
                                                       "Birthday",
                                                       "Notes",
                                                       "E-mail 1 - Type",
                                                       "E-mail 1 - Value",
                                                       "Phone 1 - Type",
                                                       "Phone 1 - Value",
                                                       "Address 1 - Type",
                                                       "Address 1 - Formatted",
                                                       "Address 1 - Street",
                                                       "Address 1 - City",
                                                       "Address 1 - Region",
                                                       "Address 1 - Postal Code",
                                                       "Organization 1 - Name",
                                                       "Organization 1 - Department"}));
    ASSERT_TRUE(old);
    auto at = [](const CsvMap& map, CsvSlot slot) { return map[static_cast<int>(slot)]; };
    EXPECT_EQ(at(*old, CsvSlot::KanjiName), (CsvColumns{4, 2, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::KanaName), (CsvColumns{8, 6, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Address1), (CsvColumns{19, 18, 17, 0}));
    EXPECT_EQ(at(*old, CsvSlot::PostCode1), (CsvColumns{20, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::EMail), (CsvColumns{12, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Tel1), (CsvColumns{14, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Birthday), (CsvColumns{9, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Remarks), (CsvColumns{10, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Company), (CsvColumns{21, 0, 0, 0}));
    EXPECT_EQ(at(*old, CsvSlot::Department), (CsvColumns{22, 0, 0, 0}));
    std::optional<CsvMap> current = GuessCsvMap(
        FieldList({"First Name", "Middle Name", "Last Name", "Phonetic First Name", "Phonetic Middle Name",
                   "Phonetic Last Name", "Organization Name", "Organization Department", "Address 1 - Region",
                   "Address 1 - Extended Address", "Address 1 - City", "Address 1 - Street"}));
    ASSERT_TRUE(current);
    EXPECT_EQ(at(*current, CsvSlot::KanjiName), (CsvColumns{3, 1, 0, 0}));
    EXPECT_EQ(at(*current, CsvSlot::KanaName), (CsvColumns{6, 4, 0, 0}));
    EXPECT_EQ(at(*current, CsvSlot::Address1), (CsvColumns{9, 11, 12, 10}));
    EXPECT_EQ(at(*current, CsvSlot::Company), (CsvColumns{7, 0, 0, 0}));
}

TEST(CsvHeaders, AnotherWebAddressBooksExport)
{
    std::optional<CsvMap> map = GuessCsvMap(FieldList({"First Name",      "Last Name",
                                                       "Given Yomi",      "Surname Yomi",
                                                       "Company",         "Department",
                                                       "Home Street",     "Home City",
                                                       "Home State",      "Home Postal Code",
                                                       "Business Street", "Business City",
                                                       "Business State",  "Business Postal Code",
                                                       "Home Phone",      "Mobile Phone",
                                                       "Home Fax",        "E-mail Address",
                                                       "Birthday",        "Notes"}));
    ASSERT_TRUE(map);
    auto at = [&](CsvSlot slot) { return (*map)[static_cast<int>(slot)]; };
    EXPECT_EQ(at(CsvSlot::KanjiName), (CsvColumns{2, 1, 0, 0}));
    EXPECT_EQ(at(CsvSlot::KanaName), (CsvColumns{4, 3, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Address1), (CsvColumns{9, 8, 7, 0}));
    EXPECT_EQ(at(CsvSlot::Address2), (CsvColumns{13, 12, 11, 0}));
    EXPECT_EQ(at(CsvSlot::PostCode1), (CsvColumns{10, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::PostCode2), (CsvColumns{14, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Tel1), (CsvColumns{15, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Tel2), (CsvColumns{16, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::Fax1), (CsvColumns{17, 0, 0, 0}));
    EXPECT_EQ(at(CsvSlot::EMail), (CsvColumns{18, 0, 0, 0}));
}

TEST(CsvHeaders, ALineOfDataIsNoHeader)
{
    EXPECT_FALSE(GuessCsvMap(FieldList({"ﾔﾏﾀﾞ", "山田", "taro@example.jp"})));
    EXPECT_FALSE(GuessCsvMap(FieldList({"氏名", "x", "y"}))); // one name alone may be data
    EXPECT_FALSE(PreviewCsv(ToCp932("\"ｱｵｷ\",\"青木\"\r\n"), CsvFileEncoding::Cp932).guessed);
}

class CsvJoinImport : public StoreTest
{
protected:
    CsvJoinImport() { load(); }

    void read(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        ASSERT_TRUE(ReadCurrent(state));
    }
};

TEST_F(CsvJoinImport, SplitColumnsFillOneFieldEachAndTheHeaderLineIsNotImported)
{
    std::string file = "名,姓,メイ,セイ,番地,都道府県,市区町村,連名\r\n"
                       "太郎,山田,ﾀﾛｳ,ﾔﾏﾀﾞ,桜新町1-2,東京都,世田谷区,花子・山田 一郎様\r\n"
                       ",佐藤,,ｻﾄｳ,,大阪府,,\r\n";
    CsvImportOptions options;
    options.encoding = CsvEncoding::Utf8;
    CsvPreview preview = PreviewCsv(file, CsvFileEncoding::Utf8);
    ASSERT_TRUE(preview.guessed);
    options.map = *preview.guessed;
    options.skipFirst = true;
    ImportCounts result = ImportCsvFile(state, file, options);
    EXPECT_EQ(result.lines, 2);
    EXPECT_EQ(result.failures, 0);
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田 太郎");
    EXPECT_EQ(GetText(state.Rec.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(GetText(state.Rec.Address1), "東京都世田谷区桜新町1-2");
    std::vector<JointName> joint = ReadJointNames(state, RecordIdentity(state.Rec));
    ASSERT_EQ(joint.size(), 2u);
    EXPECT_EQ(joint[0], (JointName{"", "花子", "様"}));
    EXPECT_EQ(joint[1], (JointName{"山田", "一郎", "様"}));
    read(3);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "佐藤"); // no blank for the empty given name
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｻﾄｳ");
    EXPECT_EQ(GetText(state.Rec.Address1), "大阪府");
    EXPECT_TRUE(ReadJointNames(state, RecordIdentity(state.Rec)).empty());
}

// --- a person already stored ----------------------------------------------------------------------

class MatchBeforeInsert : public CsvJoinImport
{
protected:
    MatchBeforeInsert()
    {
        // 山田 太郎 with a mobile number and no address; his wife at the same number at home.
        CsvImportOptions options;
        options.encoding = CsvEncoding::Utf8;
        options.map = SingleColumnMap({1, 2, 3, 0, 0, 0, 4, 5});
        ImportCsvFile(state,
                      "ﾔﾏﾀﾞ ﾀﾛｳ,山田 太郎,,,090-1111-2222\r\n"
                      "ﾔﾏﾀﾞ ﾊﾅｺ,山田 花子,,東京都世田谷区桜新町1-2,03-3333-4444\r\n",
                      options);
    }

    // The same man from a phone's export: reading in full-width kana, the number written otherwise,
    // an address and an e-mail the database lacks, and a differing remark.
    ImportCounts again(DuplicateAction action)
    {
        CsvImportOptions options;
        options.encoding = CsvEncoding::Utf8;
        options.map = SingleColumnMap({1, 2, 3, 0, 0, 0, 4, 5});
        options.map[static_cast<int>(CsvSlot::Remarks)] = {6};
        options.onDuplicate = action;
        return ImportCsvFile(
            state,
            "ヤマダ　タロウ,山田太郎,taro@example.jp,東京都世田谷区桜新町1-2,＋81 90 1111 2222,旧友\r\n"
            "ﾔﾏﾀﾞ ｼﾞﾛｳ,山田 次郎,,東京都世田谷区桜新町1-2,03-3333-4444,\r\n",
            options);
    }
};

TEST_F(MatchBeforeInsert, AddStoresTheSamePersonAgainAndCountsIt)
{
    ImportCounts result = again(DuplicateAction::Add);
    EXPECT_EQ(state.tables.TotalCount, 4);
    EXPECT_EQ(result.addedDuplicates.count, 1);
    EXPECT_EQ(result.addedDuplicates.first, std::vector<int>{1});
    EXPECT_EQ(
        ImportReport(result, "フリガナ"),
        "2 件のデータを取込みました。\r\n内 1 件は登録済みの人と同じと見られますが、新しく取込みました。（1 行目）");
}

TEST_F(MatchBeforeInsert, SkipLeavesThePersonOutAndStoresTheRest)
{
    ImportCounts result = again(DuplicateAction::Skip);
    EXPECT_EQ(state.tables.TotalCount, 3); // 次郎 shares home and address with 花子 but is another person
    EXPECT_EQ(result.skippedDuplicates.count, 1);
    EXPECT_EQ(ImportReport(result, "フリガナ"),
              "1 件のデータを取込みました。\r\n1 件は登録済みの人と同じため取込みませんでした。（1 行目）");
    read(2);
    EXPECT_EQ(GetText(state.Rec.Address1), "");
}

TEST_F(MatchBeforeInsert, FillTakesOnlyEmptyFieldsAndNotesWhatDiffers)
{
    ImportCounts result = again(DuplicateAction::Fill);
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(result.filledDuplicates.count, 1);
    EXPECT_EQ(ImportReport(result, "フリガナ"),
              "1 件のデータを取込みました。\r\n1 件は登録済みの人と同じため、その空欄を補いました。（1 行目）");
    read(2);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田 太郎");
    EXPECT_EQ(GetText(state.Rec.EMail), "taro@example.jp");
    EXPECT_EQ(GetText(state.Rec.Address1), "東京都世田谷区桜新町1-2");
    EXPECT_EQ(GetText(state.Rec.Tel1), "090-1111-2222"); // the same number: nothing noted
    EXPECT_EQ(GetText(state.Rec.Remarks), "旧友");
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "");
}

TEST_F(MatchBeforeInsert, FillNeverOverwritesAndKeepsTheOtherValueInTheRemarksExtraData)
{
    CsvImportOptions options;
    options.encoding = CsvEncoding::Utf8;
    options.map = SingleColumnMap({1, 2, 3, 0, 0, 0, 4, 5});
    options.onDuplicate = DuplicateAction::Fill;
    ImportCsvFile(state, "ﾔﾏﾀﾞ ﾀﾛｳ,山田 太郎,,大阪府大阪市北区梅田1-1,09011112222\r\n", options);
    ImportCsvFile(state, "ﾔﾏﾀﾞ ﾀﾛｳ,山田 太郎,,東京都新宿区新宿1-1,09011112222\r\n", options);
    EXPECT_EQ(state.tables.TotalCount, 2);
    read(2);
    EXPECT_EQ(GetText(state.Rec.Address1), "大阪府大阪市北区梅田1-1");
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "取込時の別の値: 東京都新宿区新宿1-1");
}

} // namespace
} // namespace talik::test
