// Loading a database into the tables: headers of every age, passwords, the data folder, full groups.
#include <filesystem>

#include <gtest/gtest.h>

#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

std::vector<std::uint8_t> EarlierHeader(std::int32_t highest)
{
    auto header = BlankRecord(600);
    Put(header, 0, "Mirepol32 6.00", 16);
    PutLong(header, 16, 0);
    PutLong(header, 20, highest);
    Put(header, 30, "\x8e\xa9\x91\xee", 20); // check item 1 named 自宅
    return header;
}

std::vector<std::uint8_t> WithPassword(std::vector<std::uint8_t> header)
{
    // "AB" salted with 7: digits 4 1 4 2, each stored plus 7.
    const std::uint8_t stored[] = {7, 4, 11, 8, 11, 9};
    Put(header, 330, "", 30);
    std::copy(std::begin(stored), std::end(stored), header.begin() + 330);
    return header;
}

TEST_F(StoreTest, EarlierLayoutHeaderTakesItsHighestNumberFromTheSecondLong)
{
    std::vector<std::vector<std::uint8_t>> records{EarlierHeader(57)};
    for (int i = 2; i <= 57; ++i) {
        records.push_back(HandAddress("\xb1", "x"));
    }
    WriteRecords(mainPath(), records);
    load();
    EXPECT_EQ(state.tables.TotalCount, 56);
    EXPECT_EQ(GetLong(state.Header.LastRecNo), 57);
    auto file = ReadFileBytes(mainPath());
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "Mirepol32 7.00  ");
    EXPECT_EQ(LongAt(file, 16), 57);
    EXPECT_EQ(static_cast<std::uint32_t>(LongAt(file, 20)), 0xFF0000FFu);
    EXPECT_EQ(std::string(file.begin() + 30, file.begin() + 34), "\x8e\xa9\x91\xee"); // names kept
    EXPECT_EQ(file[331], 0);                                                          // no password
    EXPECT_EQ(addRecord("ｲ"), 58);
}

TEST_F(StoreTest, RecordsPastLastRecNoAreNotLoadedAndTheNextAddTakesTheirPlaceWhole)
{
    WriteRecords(mainPath(), {HandMainHeader(2), HandAddress("\xb1", "a"), HandAddress("\xb2", "b")});
    load();
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(addRecord("ｳ", "c"), 3);
    auto file = ReadFileBytes(mainPath());
    EXPECT_EQ(WithoutIdentities(std::vector<std::uint8_t>(file.begin() + 1200, file.end())), HandAddress("\xb3", "c"));
    EXPECT_EQ(LongAt(file, 16), 3);
    EXPECT_EQ(LongAt(ReadFileBytes(extraPath()), 20), 3);
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
}

TEST_F(StoreTest, FileNamesAreFoundWithoutRegardToCase)
{
    WriteRecords(dir.str() + "/mrpdat01.qx1", {HandMainHeader(2), HandAddress("\xb1", "a")});
    load();
    EXPECT_EQ(state.tables.TotalCount, 1);
    addRecord("ｲ");
    EXPECT_FALSE(std::filesystem::exists(mainPath()));
    EXPECT_EQ(ReadFileBytes(dir.path() / "mrpdat01.qx1").size(), 1800u);
}

class PasswordDatabase : public StoreTest
{
protected:
    void SetUp() override
    {
        WriteRecords(mainPath(), {WithPassword(HandMainHeader(2)), HandAddress("\xb1", "a")});
        WriteRecords(dir.str() + "/MRPDAT02.QX1", {HandMainHeader(1)});
    }
};

TEST_F(PasswordDatabase, AsksUntilTheRightPasswordAndSaysWhenOneIsWrong)
{
    ui.passwordAnswers = {"ab", "AB"};
    load();
    EXPECT_EQ(state.tables.TotalCount, 1);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"パスワードが正しくありません。"});
    ASSERT_EQ(ui.shown.front().kind, "password");
    EXPECT_EQ(ui.shown.front().text, "データベース1");
}

TEST_F(PasswordDatabase, CancelAtStartUpEndsTheProgram)
{
    ui.passwordAnswers = {std::nullopt};
    EXPECT_EQ(LoadTables(state), LoadResult::EndProgram);
    EXPECT_EQ(state.tables.TotalCount, 0);
}

TEST_F(PasswordDatabase, CancelAfterSwitchingFallsBackToThePreviousDatabase)
{
    state.DbNo = 2;
    load();
    state.DbNo = 1; // the user picks database 1, then cancels its prompt
    ui.passwordAnswers = {std::nullopt};
    load();
    EXPECT_EQ(state.DbNo, 2);
    EXPECT_EQ(state.texts.DbName, "データベース2");
    EXPECT_EQ(state.tables.TotalCount, 0);
}

TEST_F(StoreTest, MissingDataFolderFallsBackToTheProgramFolderWithAMessage)
{
    state.DataPath = dir.str() + "/gone";
    state.WritableFolder = dir.str() + "/home/";
    load();
    EXPECT_EQ(state.DataPath, dir.str() + "/home");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "パス名 " + dir.str() + "/goneが見つかりません。\nパスを" + dir.str() +
                                    "/home/に変更し起動します。\n起動後、設定を確認してください。");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "home" / "MRPDAT01.QX1"));
}

TEST_F(StoreTest, AFullGroupIsToldOnceAndItsExtraRecordsStayCounted)
{
    std::vector<std::vector<std::uint8_t>> records{HandMainHeader(3003)};
    for (int i = 2; i <= 3003; ++i) {
        records.push_back(HandAddress("\xb6", "k")); // ｶ: group 5
    }
    WriteRecords(mainPath(), records);
    load();
    EXPECT_EQ(state.tables.GroupCount(5), 3000);
    EXPECT_EQ(state.tables.TotalCount, 3002);
    EXPECT_EQ(state.tables.usedFlag(3003), '1');
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"'か'のテーブルが3000件を超えています。"});
}

// A large database is read in two halves at once; the tables come out as one pass in file order
// would leave them: each group's rows in file order, full groups cut at their first 3000 rows (told
// in the order the file fills them), every record's used flag and the count.
TEST_F(StoreTest, ALargeDatabaseLoadsAsOnePassInFileOrderWould)
{
    constexpr int Last = 9001;
    WriteRecords(mainPath(), HandTwoHalvesDatabase(Last));
    load();

    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"'さ'のテーブルが3000件を超えています。",
                                                       "'か'のテーブルが3000件を超えています。"}));
    EXPECT_EQ(state.tables.TotalCount, 3200 + 5800 - 580);
    for (int group : {10, 5}) {
        ASSERT_EQ(state.tables.GroupCount(group), 3000) << group;
        std::int32_t before = 0;
        for (int row = 1; row <= 3000; ++row) {
            const RowView view = state.tables.row(group, row);
            EXPECT_GT(view.recNo, before);
            EXPECT_EQ(view.column(1), std::to_string(view.recNo));
            EXPECT_EQ(state.tables.RecPos[view.recNo], row * 100 + group);
            before = view.recNo;
        }
    }
    EXPECT_EQ(state.tables.row(10, 3000).recNo, 3001);
    // Group 5's 3000th row: 3000 live records from 3202 on, one in ten deleted.
    EXPECT_EQ(state.tables.row(5, 3000).recNo, 3202 + 3333 - 1);
    EXPECT_EQ(state.tables.RecPos[3202 + 3333], 0);
    EXPECT_EQ(state.tables.usedFlag(3202 + 3333), '1');
    EXPECT_EQ(state.tables.usedFlag(8990), '0');
    EXPECT_EQ(state.tables.usedFlag(3210), '0');
    EXPECT_EQ(state.tables.usedFlag(Last), '1');
}

TEST_F(StoreTest, OnlyTheEnabledListColumnsAreHeldInTheirFixedOrder)
{
    auto rec = HandAddress("\xb1", "\x8e\x52\x93\x63");
    Put(rec, 60, "a@example.jp", 50);                     // EMail
    Put(rec, 326, "090-0000-0000", 18);                   // Tel2
    Put(rec, 488, std::string_view("memo\0junk", 9), 60); // Remarks, cut at the NUL
    WriteRecords(mainPath(), {HandMainHeader(2), rec});
    state.tables.columns.ColEnabled = {false, false, true, true, false, false, false, false, false, false, false, true};
    load();
    const RowView row = state.tables.row(0, 1);
    ASSERT_EQ(row.columnCount(), 4);
    EXPECT_EQ(row.column(1), "090-0000-0000");
    EXPECT_EQ(row.column(2), "a@example.jp");
    EXPECT_EQ(row.column(3), "memo");
}

TEST_F(StoreTest, EachRowHoldsItsOwnTextsWhateverTheRowBeforeHeld)
{
    WriteRecords(mainPath(),
                 {HandMainHeader(4), HandAddress("\xb1\xb2\xb3\xb4\xb5", "\x8e\x52\x93\x63 \x91\xbe\x98\x59"),
                  HandAddress("\xb1", "x"), HandAddress("\xb2", "")});
    load();
    ASSERT_EQ(state.tables.GroupCount(0), 2);
    EXPECT_EQ(state.tables.row(0, 1).column(0), "ｱｲｳｴｵ");
    EXPECT_EQ(state.tables.row(0, 1).column(1), "山田 太郎");
    EXPECT_EQ(state.tables.row(0, 2).column(0), "ｱ");
    EXPECT_EQ(state.tables.row(0, 2).column(1), "x");
    EXPECT_EQ(state.tables.row(1, 1).column(0), "ｲ");
    EXPECT_EQ(state.tables.row(1, 1).column(1), "");
}

// The tables of a large database are most of what the program holds: the groups keep no room
// past their rows once read, and a row in its group's list is its record number and a reference.
TEST_F(StoreTest, LoadedGroupsHoldNoRoomPastTheirRows)
{
    std::vector<std::vector<std::uint8_t>> records{HandMainHeader(301)};
    for (int i = 2; i <= 301; ++i) {
        records.push_back(HandAddress(i % 3 == 0 ? "\xb1" : "\xb6", "k"));
    }
    WriteRecords(mainPath(), records);
    load();
    ASSERT_EQ(state.tables.TotalCount, 300);
    for (int group = 0; group < GroupTotal; ++group) {
        EXPECT_EQ(state.tables.AddrTable[group].capacity(), state.tables.AddrTable[group].size()) << group;
    }
    EXPECT_EQ(sizeof(RowSlot), 8u);
}

TEST_F(StoreTest, LoadingTwiceWithoutAReloadRequestDoesNothing)
{
    load();
    EXPECT_EQ(LoadTables(state), LoadResult::AlreadyLoaded);
}

} // namespace
} // namespace talik::test
