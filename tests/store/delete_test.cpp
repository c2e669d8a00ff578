// Deleting: the record is marked in its file, the last row of its group fills the gap, and the
// counts follow.
#include <gtest/gtest.h>

#include "listwin/listsync.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class DeleteTest : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        for (auto reading : {"ｱ", "ｱｲ", "ｱｳ", "ｱｴ"}) {
            recs.push_back(addRecord(reading));
        }
        load();
        state.CurrentTab = 0;
        showGroup(0);
    }

    void showGroup(int group)
    {
        state.MainList.clear();
        for (int row = 1; row <= state.tables.GroupCount(group); ++row) {
            AddListRow(state, state.MainList, state.tables.columns.nCols, row, group);
        }
    }

    bool deleteRecord(std::int32_t recNo, bool answer = true)
    {
        state.MainList.select(state.MainList.indexOf(RecordKey(recNo)));
        ui.yesNoAnswers.push_back(answer);
        return DeleteSelected(state, state.MainList);
    }

    std::uint8_t firstByteOf(std::int32_t recNo) { return ReadFileBytes(mainPath()).at((recNo - 1) * 600); }

    std::vector<std::int32_t> recs; // records 2..5 in group 0, rows 1..4
};

TEST_F(DeleteTest, ARecordWithoutANameIsAskedForByItsReading)
{
    const std::int32_t unnamed = addRecord("ｱｵ", "");
    load();
    showGroup(0);
    ASSERT_FALSE(deleteRecord(unnamed, false));
    EXPECT_EQ(ui.shown.back().text, "ｱｵ\nこのデータを削除してもよろしいですか？");
}

TEST_F(DeleteTest, AsksWithTheNameAndReadingAndMarksTheRecordInItsFile)
{
    ASSERT_TRUE(deleteRecord(recs[1]));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "名前（ｱｲ）\nこのデータを削除してもよろしいですか？");
    EXPECT_EQ(ui.shown[0].title, "削除確認");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    auto file = ReadFileBytes(mainPath());
    EXPECT_EQ(std::string(file.begin() + 1200, file.begin() + 1203), "\xff\xb1\xb2"); // 0xFF then the old reading
    EXPECT_EQ(state.tables.usedFlag(recs[1]), ' ');
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(state.texts.CountLabel, "登録数：3 件");
    EXPECT_EQ(state.texts.ListTitle, "あ 一覧 (3件)");
    EXPECT_FALSE(state.MainList.indexOf(RecordKey(recs[1])));
}

TEST_F(DeleteTest, NoLeavesEverythingAsItWas)
{
    auto before = ReadFileBytes(mainPath());
    EXPECT_FALSE(deleteRecord(recs[1], false));
    EXPECT_EQ(ReadFileBytes(mainPath()), before);
    EXPECT_EQ(state.MainList.size(), 4u);
    EXPECT_EQ(state.tables.TotalCount, 4);
}

TEST_F(DeleteTest, TheLastRowMovesIntoTheGapAndCanBeDeletedAfterwards)
{
    ASSERT_TRUE(deleteRecord(recs[1])); // row 2
    EXPECT_EQ(state.tables.GroupCount(0), 3);
    EXPECT_EQ(state.tables.row(0, 1).recNo, recs[0]);
    EXPECT_EQ(state.tables.row(0, 2).recNo, recs[3]); // the former last row
    EXPECT_EQ(state.tables.row(0, 3).recNo, recs[2]);
    EXPECT_EQ(state.tables.RecPos[recs[3]], 2 * 100 + 0);

    ASSERT_TRUE(deleteRecord(recs[3])); // the moved record
    EXPECT_EQ(state.tables.GroupCount(0), 2);
    EXPECT_EQ(state.tables.row(0, 1).recNo, recs[0]);
    EXPECT_EQ(state.tables.row(0, 2).recNo, recs[2]);
    EXPECT_EQ(firstByteOf(recs[3]), 0xFF);
    EXPECT_NE(firstByteOf(recs[2]), 0xFF);

    // A fresh load agrees with the bookkeeping.
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(addRecord("ｶ"), recs[1]); // the lowest deleted slot is taken first
}

TEST_F(DeleteTest, DeletingAllListedAsksOnceAndEmptiesTheList)
{
    ListModel result;
    AddListRow(state, result, 1, 1, 0);
    AddListRow(state, result, 1, 3, 0);
    ui.yesNoAnswers = {true};
    EXPECT_EQ(DeleteAllListed(state, result), 2);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "検索結果の全データを削除してもよろしいですか？");
    EXPECT_EQ(ui.shown[0].title, "削除確認");
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.tables.GroupCount(0), 2);
    EXPECT_EQ(firstByteOf(recs[0]), 0xFF);
    EXPECT_EQ(firstByteOf(recs[2]), 0xFF);
    load();
    EXPECT_EQ(state.tables.TotalCount, 2);
}

TEST_F(DeleteTest, RowModeUpdatesTheTabCount)
{
    state.listMode = ListMode::Row;
    ASSERT_TRUE(deleteRecord(recs[0]));
    EXPECT_EQ(state.texts.TabCountLabels[0], "3 件");
}

} // namespace
} // namespace talik::test
