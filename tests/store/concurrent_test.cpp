// Two programs adding to one database at the same time lose nothing and overwrite nothing.
#include <set>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "store/database.h"
#include "tests/support/storefixture.h"

extern char** environ;

namespace talik::test {
namespace {

pid_t StartWriter(const std::string& folder, const std::string& id, int count)
{
    std::vector<std::string> args{STORE_WRITER_PATH, folder, id, std::to_string(count)};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, STORE_WRITER_PATH, nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(StoreTest, TwoProcessesAddingAtOnceKeepEveryRecord)
{
    load(); // creates the database both writers open
    pid_t first = StartWriter(dir.str(), "A", 300);
    pid_t second = StartWriter(dir.str(), "B", 300);
    EXPECT_EQ(WaitFor(first), 0);
    EXPECT_EQ(WaitFor(second), 0);

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
