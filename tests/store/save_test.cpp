// Saving: which number a new record gets, both headers, the refusal past the last number, and the
// tables and lists brought up to date afterwards.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "listwin/listsync.h"
#include "search/resultwindow.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

TEST_F(StoreTest, NewRecordsTakeTheLowestDeletedSlotBeforeGrowingTheFile)
{
    auto deleted = HandAddress("\xff\xb1", "gone");
    WriteRecords(mainPath(), {HandMainHeader(5), HandAddress("\xb1", "a"), deleted, HandAddress("\xb2", "b"), deleted});
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(addRecord("ｳ"), 3);
    EXPECT_EQ(addRecord("ｴ"), 5);
    EXPECT_EQ(LongAt(ReadFileBytes(mainPath()), 16), 5); // LastRecNo unchanged by re-use
    EXPECT_EQ(addRecord("ｵ"), 6);
    EXPECT_EQ(LongAt(ReadFileBytes(mainPath()), 16), 6);
    EXPECT_EQ(LongAt(ReadFileBytes(extraPath()), 20), 6);
}

TEST_F(StoreTest, ASavePastTheLastRecordNumberIsRefusedAndWritesNothing)
{
    WriteRecords(mainPath(), {HandMainHeader(64000)});
    std::filesystem::resize_file(mainPath(), 64000u * 600u); // records 2..64000 all in use
    {
        std::fstream f(mainPath(), std::ios::in | std::ios::out | std::ios::binary);
        for (int rec = 2; rec <= 64000; ++rec) {
            f.seekp((rec - 1) * 600);
            f.put('\xb1');
        }
    }
    load();
    ui.shown.clear(); // the load told of the full group
    auto before = ReadFileBytes(mainPath());
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ｱ");
    state.CurRecNo = 0;
    EXPECT_FALSE(SaveCurrent(state));
    EXPECT_EQ(state.CurRecNo, 0);
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "データベースの登録件数が上限（63999件）に達しているため、これ以上登録できません。\r\n"
                                "不要なデータを削除してから登録してください。");
}

TEST_F(StoreTest, UndecodableBytesAndReservedBytesSurviveAnEditOfAnotherField)
{
    auto rec = HandAddress("\xb1", "\x8e\x52\x93"); // name cut through its second character
    Put(rec, 488, "\x80\xa0\xfd\xfe\xff", 60);      // remarks no code page can read
    Put(rec, 586, "\x01reserved\x02", 14);
    WriteRecords(mainPath(), {HandMainHeader(2), rec});
    load();
    state.CurRecNo = 2;
    ASSERT_TRUE(ReadCurrent(state));
    SetText(state.Rec.Tel1, "03-0000-0000");
    ASSERT_TRUE(SaveCurrent(state));
    Put(rec, 200, "03-0000-0000", 18);
    auto file = ReadFileBytes(mainPath());
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 600, file.end()), rec);

    // Rewriting the same text through the buffers keeps the bytes too.
    SetText(state.Rec.Remarks, GetText(state.Rec.Remarks));
    SetText(state.Rec.KanjiName, GetText(state.Rec.KanjiName));
    ASSERT_TRUE(SaveCurrent(state));
    EXPECT_EQ(ReadFileBytes(mainPath()), file);
}

class ReflectTest : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        a1 = addRecord("ｱｲ", "一");
        a2 = addRecord("ｱｵ", "二");
        load();
        state.CurrentTab = 0; // the list window shows group ｱ
        state.MainList.clear();
        for (int row = 1; row <= state.tables.GroupCount(0); ++row) {
            AddListRow(state, state.MainList, state.tables.columns.nCols, row, 0);
        }
    }

    void saveExisting(std::int32_t recNo, std::string_view reading)
    {
        state.CurRecNo = recNo;
        ASSERT_TRUE(ReadCurrent(state));
        SetText(state.Rec.KanaName, reading);
        state.EditStatus = 'R';
        ASSERT_TRUE(SaveCurrent(state));
    }

    std::int32_t a1 = 0, a2 = 0;
};

TEST_F(ReflectTest, ANewRecordInTheShownGroupIsCountedAndListed)
{
    std::int32_t recNo = addRecord("ｱｱ", "三");
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(state.texts.CountLabel, "登録数：3 件");
    EXPECT_EQ(state.texts.ListTitle, "あ 一覧 (3件)");
    auto index = state.MainList.indexOf(RecordKey(recNo));
    ASSERT_TRUE(index);
    EXPECT_EQ(state.MainList.at(*index).subItems, (std::vector<std::string>{"三", ""}));
}

TEST_F(ReflectTest, AChangeWithinTheGroupRefillsTheSameRow)
{
    std::int32_t pos = state.tables.RecPos[a1];
    saveExisting(a1, "ｱｲｳ");
    EXPECT_EQ(state.tables.RecPos[a1], pos);
    EXPECT_EQ(state.tables.row(0, pos / 100).column(0), "ｱｲｳ");
    EXPECT_EQ(state.MainList.size(), 2u);
    EXPECT_EQ(state.MainList.at(*state.MainList.indexOf(RecordKey(a1))).text, "ｱｲｳ");
    EXPECT_EQ(state.tables.TotalCount, 2);
}

TEST_F(ReflectTest, AChangeOfGroupMovesTheRowWithoutCountingItAgain)
{
    saveExisting(a1, "ｶｲ"); // from ｱ (group 0) to ｶ (group 5)
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.tables.GroupCount(0), 1);
    EXPECT_EQ(state.tables.GroupCount(5), 1);
    EXPECT_EQ(state.tables.RecPos[a1], 1 * 100 + 5);
    EXPECT_EQ(state.tables.RecPos[a2], 1 * 100 + 0); // the last row moved into the gap
    EXPECT_EQ(state.tables.row(0, 1).recNo, a2);
    EXPECT_FALSE(state.MainList.indexOf(RecordKey(a1))); // group 5 is not shown
    EXPECT_EQ(state.texts.ListTitle, "あ 一覧 (1件)");
}

TEST_F(ReflectTest, RowModeCountsTheTabsAndListsWhatTheShownTabHolds)
{
    state.listMode = ListMode::Row;
    state.CurrentTab = 1; // か row: groups 5..9
    state.MainList.clear();
    saveExisting(a1, "ｺｲ"); // group 9
    EXPECT_TRUE(state.MainList.indexOf(RecordKey(a1)));
    EXPECT_EQ(state.texts.TabCountLabels[0], "1 件");
    EXPECT_EQ(state.texts.TabCountLabels[1], "1 件");
}

TEST_F(ReflectTest, ASaveFromTheSearchResultListsItThereWithTwoColumns)
{
    state.tables.columns.ColEnabled = {true, true, true};
    load();
    ListModel searchList;
    Subscription follow(state.changes,
                        [&](const RecordChanges& changes) { ReflectInResults(state, searchList, changes, true); });
    std::int32_t recNo = addRecord("ｻ", "四");
    ASSERT_EQ(searchList.size(), 1u);
    EXPECT_EQ(searchList.at(0).key, RecordKey(recNo));
    EXPECT_EQ(searchList.at(0).subItems.size(), 2u);
}

} // namespace
} // namespace talik::test
