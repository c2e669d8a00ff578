// talikcli move-to killed by the system at each of its writes, renames, flushes and removals in
// turn (strace fault injection): the next talikcli run on either database finds every person in
// exactly one of the two, and says so when it finished the move.
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "store/movejournal.h"
#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

constexpr int MostCalls = 80;
const std::vector<std::string> People = {"ｱｲ", "ｶｷ", "ｻｼ", "ﾀﾁ", "ﾅﾆ", "ﾊﾋ"};

class CliMoveTest : public CliFixture
{
protected:
    void SetUp() override
    {
        if (::access(StracePath, X_OK) != 0) {
            GTEST_SKIP() << "strace is not installed";
        }
        for (const std::string& reading : People) {
            add({"--KanaName=" + reading});
        }
        for (const char* name : {"MRPDAT01.QX1", "MRPDAT01.QX2"}) {
            original.emplace(name, ReadFileBytes(data.path() / name));
        }
    }

    void reset()
    {
        for (const char* name : {"MRPDAT02.QX1", "MRPDAT02.QX2", ".MRPDAT01.move"}) {
            fs::remove(data.path() / name);
        }
        for (const auto& [name, bytes] : original) {
            WriteFileBytes(data.path() / name, bytes);
        }
    }

    // talikcli move-to with its `nth` call of `calls` killed.
    ProgramRun killedMove(const std::string& calls, int nth)
    {
        std::vector<std::string> argv = {StracePath,
                                         "-f",
                                         "-o",
                                         "/dev/null",
                                         "-e",
                                         "trace=" + calls,
                                         "-e",
                                         "inject=" + calls + ":signal=SIGKILL:when=" + std::to_string(nth),
                                         "/usr/bin/env",
                                         "ASAN_OPTIONS=detect_leaks=0",
                                         TALIKCLI_PATH,
                                         "--data",
                                         data.str(),
                                         "move-to",
                                         "2",
                                         "--records",
                                         "2,3,5,7"};
        return RunProgram(argv, capture.path());
    }

    // How many times each reading is listed by `list` of database `dbNo` (the run that finishes).
    void countListed(int dbNo, std::map<std::string, int>& seen, std::string& told)
    {
        ProgramRun run = cli({"--db", std::to_string(dbNo), "list"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        told += run.err;
        std::istringstream lines(run.out);
        std::string line;
        while (std::getline(lines, line)) {
            std::size_t tab = line.find('\t');
            ++seen[line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1)];
        }
    }

    std::map<std::string, std::vector<std::uint8_t>> original;
};

TEST_F(CliMoveTest, AMoveKilledAtAnyCallLeavesEveryPersonInExactlyOneDatabase)
{
    int kills = 0;
    int finished = 0;
    for (const std::string calls : {"pwrite64", "rename,renameat,renameat2,unlink,unlinkat,fsync,fdatasync"}) {
        for (int nth = 1; nth <= MostCalls; ++nth) {
            SCOPED_TRACE("killed at " + calls + " call " + std::to_string(nth));
            reset();
            ProgramRun run = killedMove(calls, nth);
            if (run.exitCode == 0) {
                break;
            }
            ++kills;
            bool journalled = fs::exists(MoveJournalPath(data.str(), 1));
            std::map<std::string, int> seen;
            std::string told;
            // The first run opens the target alone when `nth` is odd, the source when even.
            countListed(nth % 2 == 1 ? 2 : 1, seen, told);
            countListed(nth % 2 == 1 ? 1 : 2, seen, told);
            std::map<std::string, int> once;
            for (const std::string& reading : People) {
                once[reading] = 1;
            }
            EXPECT_EQ(seen, once);
            EXPECT_FALSE(fs::exists(MoveJournalPath(data.str(), 1)));
            if (journalled) {
                ++finished;
                EXPECT_NE(told.find("への移動が途中で終わっていました"), std::string::npos) << told;
            }
        }
    }
    EXPECT_GE(kills, 20);
    EXPECT_GE(finished, 10);
}

} // namespace
} // namespace talik::test
