// The database API: records written by number with their own values, a batch published once when
// it ends, the tables following before any other listener, and nothing published for a write to
// another database.
#include "store/recordwriter.h"

#include <gtest/gtest.h>

#include "listwin/listsync.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class RecordWriterTest : public StoreTest
{
protected:
    RecordWriterTest()
    {
        WriteRecords(mainPath(), {HandMainHeader(3), HandAddress("\xb1", "one"), HandAddress("\xb6", "two")});
        WriteRecords(extraPath(), {HandExtraHeader(3), HandExtra("r1"), HandExtra("r2")});
        load();
        seen.clear(); // the load was told as a whole
    }

    static AddressRecord Address(std::string_view reading)
    {
        AddressRecord rec{};
        ClearRecord(rec);
        SetText(rec.KanaName, reading);
        return rec;
    }

    std::vector<RecordChanges> seen;
    Subscription follow{state.changes, [this](const RecordChanges& changes) {
                            // The tables have followed before anyone else hears of a change.
                            for (const auto& [recNo, rec] : changes.added) {
                                EXPECT_EQ(state.tables.usedFlag(recNo), '1');
                                EXPECT_NE(state.tables.RecPos[recNo], 0);
                            }
                            seen.push_back(changes);
                        }};
};

TEST_F(RecordWriterTest, ABatchIsPublishedOnceWhenTheWriterGoes)
{
    ExtraRecord extra{};
    ClearRecord(extra);
    {
        auto writer = RecordWriter::hold(state);
        ASSERT_TRUE(writer);
        EXPECT_EQ(writer->add(Address("ｱｶ"), extra), 4);
        EXPECT_EQ(writer->add(Address("ｻｸ"), extra), 5);
        ASSERT_TRUE(writer->update(2, Address("ｶﾜ"), extra));
        ASSERT_TRUE(writer->remove(3));
        EXPECT_TRUE(seen.empty()); // nothing is told while the batch runs
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].added.size(), 2u);
    EXPECT_EQ(seen[0].changed.size(), 1u);
    EXPECT_EQ(seen[0].deleted, (std::vector<std::int32_t>{3}));
    EXPECT_EQ(state.tables.TotalCount, 3);
    EXPECT_EQ(state.tables.RecPos[2] % 100, 5); // ｶﾜ files under か
    EXPECT_EQ(state.tables.RecPos[3], 0);
    EXPECT_EQ(state.texts.CountLabel, "登録数：3 件");

    // What the tables hold after the batch is what a fresh load finds.
    const Tables followed = state.tables;
    load();
    EXPECT_EQ(state.tables.TotalCount, followed.TotalCount);
    for (std::int32_t recNo : {2, 3, 4, 5}) {
        EXPECT_EQ(state.tables.usedFlag(recNo) == '1', followed.usedFlag(recNo) == '1') << recNo;
        EXPECT_EQ(state.tables.RecPos[recNo] % 100, followed.RecPos[recNo] % 100) << recNo;
    }
}

TEST_F(RecordWriterTest, AWriteToAnotherDatabaseIsNotPublishedHere)
{
    ExtraRecord extra{};
    ClearRecord(extra);
    {
        auto writer = RecordWriter::hold(state, 2);
        ASSERT_TRUE(writer);
        EXPECT_EQ(writer->add(Address("ﾀ"), extra), 2);
    }
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(state.tables.usedFlag(2), '1'); // this database's record 2 is untouched
}

TEST_F(RecordWriterTest, AListenerThatGoesHearsNoMore)
{
    ExtraRecord extra{};
    ClearRecord(extra);
    int heard = 0;
    {
        Subscription brief(state.changes, [&](const RecordChanges&) { ++heard; });
        AddressRecord first = Address("ﾅ");
        EXPECT_NE(AddRecord(state, first, extra), 0);
    }
    AddressRecord second = Address("ﾊ");
    EXPECT_NE(AddRecord(state, second, extra), 0);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(RecordWriterTest, ADeleteLeavesTheShownListAndALoadIsToldAsAWhole)
{
    state.CurrentTab = 0;
    AddRecordRow(state, state.MainList, state.tables.columns.nCols, 2);
    ASSERT_TRUE(DeleteRecord(state, 2));
    EXPECT_TRUE(state.MainList.empty());
    seen.clear();
    load();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].reloaded);
    EXPECT_EQ(state.texts.CountLabel, "登録数：1 件");
}

} // namespace
} // namespace talik::test
