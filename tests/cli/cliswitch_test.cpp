// Backup and restore run for real under strace, with the system making a chosen rename fail or
// killing the program at it: the pair a reader then opens is always the old pair or the new pair
// whole, never a new main file beside an old extra file.
#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "store/pairswitch.h"
#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

constexpr int MostRenames = 16;

struct Pair
{
    std::vector<std::uint8_t> main;
    std::vector<std::uint8_t> extra;
    bool operator==(const Pair&) const = default;
};

Pair ReadPair(const fs::path& folder, const char* ext1, const char* ext2)
{
    return {ReadFileBytes(folder / ("MRPDAT01" + std::string(ext1))),
            ReadFileBytes(folder / ("MRPDAT01" + std::string(ext2)))};
}

void WritePair(const fs::path& folder, const Pair& pair, const char* ext1, const char* ext2)
{
    WriteFileBytes(folder / ("MRPDAT01" + std::string(ext1)), pair.main);
    WriteFileBytes(folder / ("MRPDAT01" + std::string(ext2)), pair.extra);
}

class CliSwitchTest : public CliFixture
{
protected:
    void SetUp() override
    {
        if (::access(StracePath, X_OK) != 0) {
            GTEST_SKIP() << "strace is not installed";
        }
        add({"--KanaName=ｱｲ", "--KanjiName=相", "--RemarksExtra=古い組"});
        ASSERT_EQ(cli({"backup", "--to", backup.str()}).exitCode, 0);
        older = ReadPair(backup.path(), ".qx1", ".qx2");
        add({"--KanaName=ｶｷ", "--KanjiName=柿", "--RemarksExtra=新しい組"});
        newer = ReadPair(data.path(), ".QX1", ".QX2");
        ASSERT_NE(older.main, newer.main);
        ASSERT_NE(older.extra, newer.extra);
    }

    // talikcli with its `nth` rename turned into `action` ("error=EIO" or "signal=SIGKILL").
    ProgramRun traced(const std::vector<std::string>& args, int nth, const std::string& action)
    {
        std::vector<std::string> argv = {
            StracePath, "-f", "-o", "/dev/null", "-e", "trace=rename,renameat,renameat2", "-e",
            "inject=rename,renameat,renameat2:" + action + ":when=" + std::to_string(nth),
            // The leak checker of a sanitizer build cannot run under a tracer and would fail the run.
            "/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0", TALIKCLI_PATH, "--data", data.str()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProgram(argv, capture.path());
    }

    // Runs `args` once for each rename it makes, that rename failing or killed, with `reset` laying
    // the files out before and `check` judging what a reader finds after. How many runs were hit.
    int eachRename(const std::vector<std::string>& args,
                   const std::string& action,
                   const std::function<void()>& reset,
                   const std::function<void(bool hit)>& check)
    {
        for (int nth = 1; nth <= MostRenames; ++nth) {
            SCOPED_TRACE(action + " at rename " + std::to_string(nth));
            reset();
            ProgramRun run = traced(args, nth, action);
            bool hit = run.exitCode != 0;
            check(hit);
            if (!hit) {
                return nth - 1;
            }
        }
        ADD_FAILURE() << "more renames than expected";
        return MostRenames;
    }

    TempDir backup;
    Pair older;
    Pair newer;
};

TEST_F(CliSwitchTest, ARestoreFailingOrKilledAtAnyRenameLeavesOneWholePair)
{
    const std::vector<std::string> args = {"restore", "--from", backup.str(), "--overwrite-newer"};
    auto reset = [&] {
        WritePair(data.path(), newer, ".QX1", ".QX2");
        fs::remove(data.path() / "MRPDAT01.QX1.prev");
        fs::remove(data.path() / "MRPDAT01.QX2.prev");
    };
    int failed = eachRename(args, "error=EIO", reset, [&](bool hit) {
        Pair now = ReadPair(data.path(), ".QX1", ".QX2");
        EXPECT_TRUE(now == newer || (!hit && now == older));
        EXPECT_FALSE(hit && now == older && fs::exists(SwitchJournalPath((data.path() / "MRPDAT01.QX1").string())));
    });
    EXPECT_GE(failed, 3);
    int killed = eachRename(args, "signal=SIGKILL", reset, [&](bool) {
        std::string count = cli({"count"}).out; // the next open, which finishes the switch
        Pair now = ReadPair(data.path(), ".QX1", ".QX2");
        EXPECT_TRUE(now == newer || now == older);
        EXPECT_EQ(count, now == newer ? "2\n" : "1\n");
        EXPECT_FALSE(fs::exists(SwitchJournalPath((data.path() / "MRPDAT01.QX1").string())));
    });
    EXPECT_GE(killed, 3);
}

TEST_F(CliSwitchTest, ABackupFailingOrKilledAtAnyRenameLeavesOneWholeCopy)
{
    const std::vector<std::string> args = {"backup", "--to", backup.str(), "--overwrite-newer"};
    auto reset = [&] { WritePair(backup.path(), older, ".qx1", ".qx2"); };
    int failed = eachRename(args, "error=EIO", reset, [&](bool hit) {
        Pair now = ReadPair(backup.path(), ".qx1", ".qx2");
        EXPECT_TRUE(now == older || (!hit && now == newer));
    });
    EXPECT_GE(failed, 3);
    int killed = eachRename(args, "signal=SIGKILL", reset, [&](bool) {
        EXPECT_TRUE(FinishPendingSwitchOf((backup.path() / "MRPDAT01.qx1").string())); // as a restore would
        Pair now = ReadPair(backup.path(), ".qx1", ".qx2");
        EXPECT_TRUE(now == newer || now == older);
    });
    EXPECT_GE(killed, 3);
}

} // namespace
} // namespace talik::test
