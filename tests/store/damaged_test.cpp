// Damaged databases open without a crash and keep every record they still hold.
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::vector<std::vector<std::uint8_t>> FiveReadings()
{
    return {HandAddress("\xb1", "a"), HandAddress("\xb2", "b"), HandAddress("\xb3", "c"), HandAddress("\xb4", "d"),
            HandAddress("\xb5", "e")};
}

TEST_F(StoreTest, ATruncatedMainFileKeepsItsRecordsAndNewOnesGoAfterThem)
{
    auto records = FiveReadings();
    records.insert(records.begin(), HandMainHeader(10));
    WriteRecords(mainPath(), records);
    std::filesystem::resize_file(mainPath(), 5 * 600 + 100); // record 6 cut short, 7..10 missing
    load();
    EXPECT_EQ(state.tables.TotalCount, 5);
    EXPECT_EQ(state.tables.row(4, 1).recNo, 6);
    EXPECT_EQ(addRecord("ｶ"), 7);
    auto file = ReadFileBytes(mainPath());
    for (int rec = 2; rec <= 6; ++rec) {
        EXPECT_EQ(file[(rec - 1) * 600], 0xb1 + rec - 2) << "record " << rec;
    }
    load();
    EXPECT_EQ(state.tables.TotalCount, 6);
}

TEST_F(StoreTest, ARecordOfRandomBytesDoesNotDisturbTheOthers)
{
    auto records = FiveReadings();
    records.insert(records.begin(), HandMainHeader(7));
    records.insert(records.begin() + 3, RandomBytes(600, 7));
    WriteRecords(mainPath(), records);
    load();
    int live = state.tables.TotalCount;
    EXPECT_GE(live, 5);
    for (int rec : {2, 3, 5, 6, 7}) {
        EXPECT_EQ(state.tables.usedFlag(rec), '1') << "record " << rec;
    }
    std::int32_t added = addRecord("ｶ");
    EXPECT_GT(added, 7);
    load();
    EXPECT_EQ(state.tables.TotalCount, live + 1);
}

TEST_F(StoreTest, AHeaderOfNonsenseStillShowsEveryRecordOfTheFile)
{
    auto records = FiveReadings();
    auto header = RandomBytes(600, 3);
    PutLong(header, 20, -5); // an impossible highest number
    records.insert(records.begin(), header);
    WriteRecords(mainPath(), records);
    load();
    EXPECT_EQ(state.tables.TotalCount, 5);
    EXPECT_EQ(addRecord("ｶ"), 7);
    auto file = ReadFileBytes(mainPath());
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "Mirepol32 7.00  ");
    EXPECT_EQ(LongAt(file, 16), 7);
}

TEST_F(StoreTest, RandomFilesNeverCrashALoadOrASave)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        WriteRecords(mainPath(), {RandomBytes(600 * (seed % 7 + 1) + seed, seed)});
        WriteRecords(extraPath(), {RandomBytes(512 * (seed % 3) + seed, seed + 100)});
        ui.passwordAnswers.assign(1, std::nullopt); // a nonsense header may well ask for a password
        state.PrevDbNo = -1;
        state.TablesLoaded = false;
        LoadResult result = LoadTables(state);
        ASSERT_TRUE(result == LoadResult::Loaded || result == LoadResult::EndProgram) << "seed " << seed;
        if (result == LoadResult::Loaded) {
            auto before = ReadFileBytes(mainPath());
            std::int32_t added = addRecord("ｱ");
            auto after = ReadFileBytes(mainPath());
            // Only the new record and the header may have changed.
            for (std::size_t i = 600; i < before.size(); ++i) {
                if (i / 600 + 1 != static_cast<std::size_t>(added)) {
                    ASSERT_EQ(before[i], after[i]) << "seed " << seed << " byte " << i;
                }
            }
        }
    }
}

TEST_F(StoreTest, AMissingExtraFileReadsAsBlankRemarks)
{
    WriteRecords(mainPath(), {HandMainHeader(2), HandAddress("\xb1", "a")});
    load();
    state.CurRecNo = 2;
    ASSERT_TRUE(ReadCurrent(state));
    EXPECT_EQ(GetText(state.Extra.RemarksExtra), "");
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace
} // namespace talik::test
