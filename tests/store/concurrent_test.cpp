// Two programs adding to one database at the same time lose nothing and overwrite nothing.
#include <set>

#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

int StartWriter(const std::string& folder, const std::string& id, int count)
{
    return StartProgram({STORE_WRITER_PATH, folder, id, std::to_string(count)});
}

TEST_F(StoreTest, TwoProcessesAddingAtOnceKeepEveryRecord)
{
    load(); // creates the database both writers open
    int first = StartWriter(dir.str(), "A", 300);
    int second = StartWriter(dir.str(), "B", 300);
    EXPECT_EQ(WaitForProgram(first), 0);
    EXPECT_EQ(WaitForProgram(second), 0);

    load();
    EXPECT_EQ(state.tables.TotalCount, 600);
    std::set<std::string> names;
    for (int row = 1; row <= state.tables.GroupCount(0); ++row) {
        state.CurRecNo = state.tables.row(0, row).recNo;
        ASSERT_TRUE(ReadCurrent(state));
        std::string name = GetText(state.Rec.KanjiName);
        EXPECT_EQ(GetText(state.Extra.RemarksExtra), name) << "record " << state.CurRecNo;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 600u);
    auto main = ReadFileBytes(mainPath());
    auto extra = ReadFileBytes(extraPath());
    EXPECT_EQ(LongAt(main, 16), 601);
    EXPECT_EQ(LongAt(extra, 20), LongAt(main, 16));
}

} // namespace
} // namespace talik::test
