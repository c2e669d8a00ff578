// Files written by hand from the stored layout are read right, and what the program writes is
// byte for byte what the layout says.
#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

constexpr std::string_view Yamada = "\x8e\x52\x93\x63";     // 山田
constexpr std::string_view YamadaKana = "\xd4\xcf\xc0\xde"; // ﾔﾏﾀﾞ
constexpr std::string_view Aoki = "\x90\xc2\x96\xd8";       // 青木
constexpr std::string_view AokiKana = "\xb1\xb5\xb7";       // ｱｵｷ
constexpr std::string_view Kato = "\x89\xc1\x93\xa1";       // 加藤
constexpr std::string_view KatoKana = "\xb6\xc4\xb3";       // ｶﾄｳ

std::vector<std::uint8_t> Deleted(std::vector<std::uint8_t> rec)
{
    rec.insert(rec.begin(), 0xFF);
    rec.erase(rec.begin() + 30);
    return rec;
}

class HandMadeDatabase : public StoreTest
{
protected:
    void SetUp() override
    {
        auto yamada = HandAddress(YamadaKana, Yamada);
        Put(yamada, 200, "03-1111-2222", 18); // Tel1
        PutLong(yamada, 362, 19650203);       // Birthday
        auto aoki = HandAddress(AokiKana, Aoki);
        auto kato = Deleted(HandAddress(KatoKana, Kato));
        auto digit = HandAddress("7A", "\x82\x50"); // reading begins with a digit
        WriteRecords(mainPath(), {HandMainHeader(5), yamada, aoki, kato, digit});
        auto extra = BlankRecord(512);
        PutLong(extra, 20, 5);
        auto remarks = BlankRecord(512);
        Put(remarks, 0, "line1\r\nline2", 400);
        WriteRecords(extraPath(), {extra, remarks});
    }
};

TEST_F(HandMadeDatabase, LoadsLiveRecordsIntoTheirGroupsAndSkipsDeletedOnes)
{
    load();
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(state.tables.GroupCount(35), 1); // ﾔ
    EXPECT_EQ(state.tables.GroupCount(0), 1);  // ｱ
    EXPECT_EQ(state.tables.GroupCount(5), 0);  // ｶ: deleted
    EXPECT_EQ(state.tables.GroupCount(44), 1); // digit
    const RowView yamada = state.tables.row(35, 1);
    EXPECT_EQ(yamada.recNo, 2);
    EXPECT_EQ(yamada.column(0), "ﾔﾏﾀﾞ");
    EXPECT_EQ(yamada.column(1), "山田");
    EXPECT_EQ(yamada.column(2), "03-1111-2222");
    EXPECT_EQ(state.tables.RecPos[2], 1 * 100 + 35);
    EXPECT_EQ(state.tables.RecPos[5], 1 * 100 + 44);
    EXPECT_EQ(state.tables.usedFlag(2), '1');
    EXPECT_EQ(state.tables.usedFlag(4), '0');
    EXPECT_EQ(state.texts.CountLabel, "登録数：3 件");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(HandMadeDatabase, ReadsEveryFieldOfOneRecordWithItsExtraRecord)
{
    load();
    state.CurRecNo = 2;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Rec.KanjiName), "山田");
    EXPECT_EQ(GetLong(state.Rec.Birthday), 19650203);
    EXPECT_EQ(FormatBirthday(GetLong(state.Rec.Birthday)), "1965/02/03");
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "line1\r\nline2");
    state.CurRecNo = 3; // its extra record was never written
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "");
}

TEST_F(StoreTest, WritesARecordExactlyAsTheLayoutSays)
{
    load();
    ClearRecord(state.Rec);
    ClearRecord(state.Extra);
    SetText(state.Rec.KanaName, "ﾔﾏﾀﾞ");
    SetText(state.Rec.KanjiName, "山田");
    SetText(state.Rec.Tel1, "03-1111-2222");
    SetLong(state.Rec.Birthday, 19650203);
    SetInteger(state.Rec.PrintOptions, 10101);
    SetInteger(state.Rec.PhoneKinds, 1203);
    SetText(state.Rec.CheckItems, "1 1");
    SetText(state.Rec.SenderChoice, "1");
    SetText(state.Extra.RemarksExtra, "memo");
    state.CurRecNo = 0;
    ASSERT_TRUE(SaveCurrent(state));
    ASSERT_EQ(state.CurRecNo, 2);

    auto expected = HandAddress(YamadaKana, Yamada);
    Put(expected, 200, "03-1111-2222", 18);
    PutLong(expected, 362, 19650203);
    PutInteger(expected, 366, 10101);
    Put(expected, 548, "1 1", 15);
    PutInteger(expected, 583, 1203);
    Put(expected, 585, "1", 1);
    auto file = ReadFileBytes(mainPath());
    ASSERT_EQ(file.size(), 1200u);
    EXPECT_EQ(WithoutIdentities(std::vector<std::uint8_t>(file.begin() + 600, file.end())), expected);

    auto header = HandMainHeader(2);
    std::fill(header.begin() + 24, header.begin() + 330, 0); // flags and names of a new file stay empty
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 600), header);

    auto extra = ReadFileBytes(extraPath());
    ASSERT_EQ(extra.size(), 1024u);
    EXPECT_EQ(LongAt(extra, 20), 2);
    auto expectedExtra = BlankRecord(512);
    Put(expectedExtra, 0, "memo", 400);
    EXPECT_EQ(std::vector<std::uint8_t>(extra.begin() + 512, extra.end()), expectedExtra);
}

TEST_F(StoreTest, FirstOpenOfAMissingDatabaseCreatesAFreshHeaderOnly)
{
    load();
    auto file = ReadFileBytes(mainPath());
    ASSERT_EQ(file.size(), 600u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "Mirepol32 7.00  ");
    EXPECT_EQ(LongAt(file, 16), 1);
    EXPECT_EQ(static_cast<std::uint32_t>(LongAt(file, 20)), 0xFF0000FFu);
    EXPECT_EQ(file[330], 0);
    EXPECT_EQ(file[331], 0);
    EXPECT_EQ(file[332], ' ');
    EXPECT_EQ(std::string(file.begin() + 360, file.end()), std::string(240, ' '));
    EXPECT_EQ(state.tables.TotalCount, 0);
    EXPECT_EQ(addRecord("ｱ"), 2);
}

} // namespace
} // namespace talik::test
