// Records read ahead of the load: the load takes them when they are what it would read itself (the
// same file, unchanged, up to the same record, for the same columns) and reads afresh otherwise.
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "store/database.h"
#include "store/readahead.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

using namespace std::chrono_literals;

// Everything the load leaves in the tables, one line each.
std::vector<std::string> TablesAsLines(const Tables& tables)
{
    std::vector<std::string> lines{"count " + std::to_string(tables.TotalCount),
                                   "columns " + std::to_string(tables.columns.nCols)};
    for (int index : tables.columns.ColIndex) {
        lines.back() += " " + std::to_string(index);
    }
    for (int group = 0; group < GroupTotal; ++group) {
        for (int row = 1; row <= tables.GroupCount(group); ++row) {
            const RowView view = tables.row(group, row);
            std::string line = std::to_string(group) + " " + std::to_string(view.recNo);
            for (int c = 0; c < view.columnCount(); ++c) {
                line += "|" + view.column(c);
            }
            lines.push_back(line + " at " + std::to_string(tables.RecPos[view.recNo]));
        }
    }
    lines.emplace_back(tables.UsedFlag.begin(), tables.UsedFlag.end());
    return lines;
}

class ReadAheadTest : public StoreTest
{
protected:
    // 9 001 records across both halves of a large load: two groups full, one in ten deleted.
    void writeLargeDatabase() { WriteRecords(mainPath(), HandTwoHalvesDatabase(Last)); }

    // Read ahead as the program does (with the columns as the settings enable them, not yet
    // numbered), trusting even a file written a moment ago.
    std::shared_ptr<ReadAhead> readAhead(const std::string& file)
    {
        ColumnSet enabled;
        enabled.ColEnabled = state.tables.columns.ColEnabled;
        return std::make_shared<ReadAhead>(file, enabled, 0ns);
    }

    // The loaded tables and the messages shown.
    std::vector<std::string> loadedLines() const
    {
        std::vector<std::string> lines = TablesAsLines(state.tables);
        const std::vector<std::string> told = ui.messages();
        lines.insert(lines.end(), told.begin(), told.end());
        return lines;
    }

    // A fresh load's tables and messages, with nothing read ahead.
    std::vector<std::string> plainLoad()
    {
        state.readAhead.reset();
        ui.shown.clear();
        load();
        return loadedLines();
    }

    static constexpr int Last = 9001;
};

TEST_F(ReadAheadTest, TheLoadTakesWhatWasReadAheadAndItIsWhatTheLoadWouldRead)
{
    writeLargeDatabase();
    auto ahead = readAhead(mainPath());
    state.readAhead = ahead;
    load();
    EXPECT_TRUE(ahead->taken());
    EXPECT_EQ(state.readAhead, nullptr);
    const std::vector<std::string> taken = loadedLines();
    EXPECT_EQ(taken, plainLoad());
    EXPECT_EQ(state.tables.GroupCount(10), 3000);
}

TEST_F(ReadAheadTest, AFileChangedAfterItWasReadAheadIsReadAgain)
{
    writeLargeDatabase();
    auto ahead = readAhead(mainPath());
    std::this_thread::sleep_for(20ms); // past the tick of the file's clock
    // Record 2 renamed in place: the file keeps its size.
    auto records = HandTwoHalvesDatabase(Last);
    records[1] = HandAddress("\xbb", "renamed");
    WriteRecords(mainPath(), records);
    state.readAhead = ahead;
    load();
    EXPECT_FALSE(ahead->taken());
    EXPECT_EQ(state.tables.row(10, 1).column(1), "renamed");
}

TEST_F(ReadAheadTest, AnotherFileRecordCountOrColumnsOrAYoungFileAreReadAfresh)
{
    writeLargeDatabase();
    ColumnSet columns = state.tables.columns;
    columns.number();
    EXPECT_FALSE(readAhead(mainPath())->take(dir.str() + "/MRPDAT02.QX1", Last, columns));
    EXPECT_FALSE(readAhead(mainPath())->take(mainPath(), Last - 1, columns));
    ColumnSet more = columns;
    more.ColEnabled[2] = !more.ColEnabled[2];
    more.number();
    EXPECT_FALSE(readAhead(mainPath())->take(mainPath(), Last, more));
    // Written a moment ago: a change within the same tick of the file's clock would not show.
    EXPECT_FALSE(ReadAhead(mainPath(), columns).take(mainPath(), Last, columns));
    auto good = readAhead(mainPath());
    EXPECT_TRUE(good->take(mainPath(), Last, columns));
    EXPECT_TRUE(good->taken());
    EXPECT_FALSE(good->take(mainPath(), Last, columns)); // given once
}

TEST_F(ReadAheadTest, AReadingNobodyWantsStopsWhenItsOwnerGoes)
{
    writeLargeDatabase();
    for (int i = 0; i < 20; ++i) {
        readAhead(mainPath()); // gone at once: stopped and joined, never taken
    }
    auto missing = readAhead(dir.str() + "/none.QX1");
    EXPECT_FALSE(missing->take(dir.str() + "/none.QX1", 0, state.tables.columns));
}

} // namespace
} // namespace talik::test
