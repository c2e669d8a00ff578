// What backup and restore refuse and keep: a pair that is no database is never copied either way,
// a failure between the two renames leaves the old pair whole, the replaced live pair stays as the
// previous generation, and copies keep the permissions of their source.
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "dbadmin/backup.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class BackupSafetyTest : public StoreTest
{
protected:
    BackupSafetyTest()
    {
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
    }

    void makeDatabase(const fs::path& folder, const std::string& tag, const char* ext1, const char* ext2)
    {
        WriteRecords((folder / ("MRPDAT01" + std::string(ext1))).string(),
                     {HandMainHeader(2), HandAddress("\xb1", tag)});
        WriteRecords((folder / ("MRPDAT01" + std::string(ext2))).string(), {HandExtraHeader(2), HandExtra(tag)});
    }
    void makeLive(const std::string& tag) { makeDatabase(dir.path(), tag, ".QX1", ".QX2"); }
    void makeBackup(const std::string& tag) { makeDatabase(backup.path(), tag, ".qx1", ".qx2"); }

    BackupOutcome run(bool restore)
    {
        BackupRequest r;
        r.restore = restore;
        r.backupFolder = backup.str();
        r.databases[0] = true;
        r.newerAnswer = true;
        return RunBackup(state, r);
    }

    std::vector<std::uint8_t> live(const char* ext) const
    {
        return ReadFileBytes(dir.path() / ("MRPDAT01" + std::string(ext)));
    }

    TempDir backup;
};

TEST_F(BackupSafetyTest, ARestoreThatIsNoDatabaseIsRefusedNamingTheFileAndReplacingNothing)
{
    makeLive("live");
    const auto mainBefore = live(".QX1");
    const auto extraBefore = live(".QX2");
    const fs::path bmain = backup.path() / "MRPDAT01.qx1";
    const fs::path bextra = backup.path() / "MRPDAT01.qx2";
    auto cutMain = [&] {
        makeBackup("new");
        auto bytes = ReadFileBytes(bmain);
        bytes.resize(bytes.size() - 100);
        WriteFileBytes(bmain, bytes);
    };
    auto cutExtra = [&] {
        makeBackup("new");
        auto bytes = ReadFileBytes(bextra);
        bytes.resize(bytes.size() - 1);
        WriteFileBytes(bextra, bytes);
    };
    auto text = [&] {
        makeBackup("new");
        std::string line(600 * 3, 'a');
        WriteFileBytes(bmain, std::vector<std::uint8_t>(line.begin(), line.end()));
    };
    auto linkTo = [&](const char* target) {
        return [&, target] {
            makeBackup("new");
            fs::remove(bmain);
            fs::create_symlink(target, bmain);
        };
    };
    auto lastPastTheEnd = [&] {
        makeBackup("new");
        auto bytes = ReadFileBytes(bmain);
        PutLong(bytes, 16, 3); // two records in the file
        WriteFileBytes(bmain, bytes);
    };
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"cut main", cutMain},
        {"cut extra", cutExtra},
        {"text", text},
        {"link to a device", linkTo("/dev/zero")},
        {"link to a folder", linkTo("/tmp")},
        {"LastRecNo past the end", lastPastTheEnd},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        ui.shown.clear();
        make();
        BackupOutcome outcome = run(true);
        EXPECT_TRUE(outcome.failed);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_NE(ui.messages()[0].find("はデータベースとして使えないため、コピーしませんでした。"), std::string::npos)
            << ui.messages()[0];
        EXPECT_TRUE(ui.messages()[0].find(bmain.string()) != std::string::npos ||
                    ui.messages()[0].find(bextra.string()) != std::string::npos)
            << ui.messages()[0];
        EXPECT_EQ(live(".QX1"), mainBefore);
        EXPECT_EQ(live(".QX2"), extraBefore);
        fs::remove(bmain);
        fs::remove(bextra);
    }
}

TEST_F(BackupSafetyTest, ABackupOfALiveFileThatIsNoDatabaseIsRefusedToo)
{
    makeLive("live");
    WriteFileBytes(dir.path() / "MRPDAT01.QX2", std::vector<std::uint8_t>(100, 'x'));
    EXPECT_TRUE(run(false).failed);
    EXPECT_TRUE(fs::is_empty(backup.path()));
}

TEST_F(BackupSafetyTest, AnEarlierLayoutPairIsRestored)
{
    makeLive("live");
    makeBackup("old layout");
    auto bytes = ReadFileBytes(backup.path() / "MRPDAT01.qx1");
    std::string older = "Mirepol32 6.00  ";
    std::copy(older.begin(), older.end(), bytes.begin());
    PutLong(bytes, 20, 2); // the earlier layout's highest record number
    WriteFileBytes(backup.path() / "MRPDAT01.qx1", bytes);
    EXPECT_FALSE(run(true).failed);
    EXPECT_EQ(live(".QX1"), bytes);
}

// (A restore holds the live files under their lock first, which a folder in the way already fails;
// its failing renames are injected into the real program in tests/cli.)
TEST_F(BackupSafetyTest, ABackupWhoseSecondRenameFailsLeavesTheOldCopyWhole)
{
    makeLive("live");
    makeBackup("kept");
    const fs::path extraTarget = backup.path() / "MRPDAT01.qx2";
    fs::remove(extraTarget);
    fs::create_directories(extraTarget / "in the way");
    const auto mainBefore = ReadFileBytes(backup.path() / "MRPDAT01.qx1");
    BackupOutcome outcome = run(false);
    EXPECT_TRUE(outcome.failed);
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_NE(ui.messages().back().find("処理を中止しました。"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(backup.path() / "MRPDAT01.qx1"), mainBefore);
    EXPECT_TRUE(fs::is_directory(extraTarget));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(backup.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"MRPDAT01.qx1", "MRPDAT01.qx2"}));
}

TEST_F(BackupSafetyTest, ARestoreKeepsTheReplacedPairAsThePreviousGenerationAndSaysSo)
{
    makeLive("first");
    makeBackup("second");
    const auto first = live(".QX1");
    const auto firstExtra = live(".QX2");
    BackupOutcome outcome = run(true);
    ASSERT_FALSE(outcome.failed);
    EXPECT_EQ(live(".QX1"), ReadFileBytes(backup.path() / "MRPDAT01.qx1"));
    EXPECT_EQ(ReadFileBytes(dir.path() / "MRPDAT01.QX1.prev"), first);
    EXPECT_EQ(ReadFileBytes(dir.path() / "MRPDAT01.QX2.prev"), firstExtra);
    EXPECT_EQ(ui.messages().back(), "処理は正常に終了しました。\n置き換える前のファイルは " + dir.str() +
                                        "/MRPDAT01.QX1.prev、" + dir.str() +
                                        "/MRPDAT01.QX2.prev として残してあります。");
}

TEST_F(BackupSafetyTest, CopiesInBothDirectionsKeepAPrivateDatabasePrivate)
{
    ::umask(022);
    makeLive("live");
    ::chmod((dir.path() / "MRPDAT01.QX1").c_str(), 0600);
    ::chmod((dir.path() / "MRPDAT01.QX2").c_str(), 0600);
    ASSERT_FALSE(run(false).failed);
    struct stat st
    {
    };
    ASSERT_EQ(::stat((backup.path() / "MRPDAT01.qx1").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_FALSE(run(true).failed);
    ASSERT_EQ(::stat((dir.path() / "MRPDAT01.QX2").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(BackupSafetyTest, TemporaryFilesThatKilledRunsLeftAreRemovedByTheNextRunInThatFolder)
{
    makeLive("live");
    pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const fs::path leftover = backup.path() / (".MRPDAT01.qx1." + std::to_string(ended) + ".tmp");
    WriteFileBytes(leftover, std::vector<std::uint8_t>(4096, 'x'));
    const fs::path othersLive = backup.path() / ".MRPDAT01.qx2.1.tmp"; // process 1 runs on
    WriteFileBytes(othersLive, {'x'});
    ASSERT_FALSE(run(false).failed);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(othersLive));
}

} // namespace
} // namespace talik::test
