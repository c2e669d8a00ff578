// The side store travels with its pair: a backup and a restore switch the set of three as one, a
// source without a side store takes the destination's away (kept with the replaced pair on a
// restore), and a change of the live store that a killed program left half made is never played
// into the store a restore brings in.
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "dbadmin/backup.h"
#include "listwin/currentrecord.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class SideBackupTest : public StoreTest
{
protected:
    SideBackupTest()
    {
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
        load();
        state.Joint = family;
        recNo = addRecord("ﾔﾏﾀﾞ");
        state.Joint.clear();
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNo, rec, extra));
        identity = RecordIdentity(rec);
    }

    BackupOutcome run(bool restore)
    {
        BackupRequest r;
        r.restore = restore;
        r.backupFolder = backup.str();
        r.databases[0] = true;
        r.newerAnswer = true;
        return RunBackup(state, r);
    }

    std::vector<JointName> joint() { return ReadJointNames(state, identity); }
    fs::path live() const { return dir.path() / "MRPDAT01.db"; }
    fs::path copy() const { return backup.path() / "MRPDAT01.db"; }

    const std::vector<JointName> family{{"", "花子", "様"}, {"", "一郎", "くん"}};
    const std::vector<JointName> later{{"", "次郎", "様"}};
    std::int32_t recNo = 0;
    std::string identity;
    TempDir backup;
};

TEST_F(SideBackupTest, BackupAndRestoreCarryTheSideStoreWithThePairAndKeepTheReplacedOne)
{
    ASSERT_FALSE(identity.empty());
    ASSERT_FALSE(run(false).failed);
    ASSERT_TRUE(fs::exists(copy()));

    ASSERT_TRUE(WriteJointNames(state, identity, later));
    ASSERT_FALSE(run(true).failed);
    EXPECT_EQ(joint(), family);
    EXPECT_NE(ui.messages().back().find(live().string() + ".prev"), std::string::npos) << ui.messages().back();

    // The kept store is the one replaced, whole.
    AppState previous{ui, clock};
    fs::create_directory(dir.path() / "prev");
    fs::copy_file(dir.path() / "MRPDAT01.db.prev", dir.path() / "prev" / "MRPDAT01.db");
    previous.DataPath = (dir.path() / "prev").string();
    previous.DbNo = 1;
    EXPECT_EQ(ReadJointNames(previous, identity), later);
}

TEST_F(SideBackupTest, ABackupWithoutASideStoreTakesTheOldOneAwayOnEitherSide)
{
    ASSERT_FALSE(run(false).failed); // the copy now has the joint names
    fs::rename(live(), dir.path() / "elsewhere.db");
    ASSERT_FALSE(run(false).failed);
    EXPECT_FALSE(fs::exists(copy())) << "an older side store would come back with a newer pair";

    fs::rename(dir.path() / "elsewhere.db", live());
    ASSERT_FALSE(run(true).failed);
    EXPECT_TRUE(joint().empty()) << "a restored pair without a side store has no side data";
    EXPECT_FALSE(fs::exists(live()));
    EXPECT_TRUE(fs::exists(dir.path() / "MRPDAT01.db.prev"));
}

// Leaves the live side store with a hot journal: a writer that had begun writing changed pages into
// the file itself was killed before it committed.
void KillWriterMidChange(const std::string& path)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size=1; BEGIN IMMEDIATE; CREATE TABLE IF NOT EXISTS filler(x BLOB);"
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<400)"
                     " INSERT INTO filler SELECT randomblob(1000) FROM n;"
                     "UPDATE joint_names SET given='壊れた';",
                     nullptr, nullptr, nullptr);
        std::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

TEST_F(SideBackupTest, AChangeAKilledWriterLeftHalfMadeIsNeverPlayedIntoTheRestoredStore)
{
    ASSERT_FALSE(run(false).failed);
    KillWriterMidChange(live().string());
    ASSERT_TRUE(fs::exists(live().string() + "-journal"));

    ASSERT_FALSE(run(true).failed);
    EXPECT_FALSE(fs::exists(live().string() + "-journal"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(live().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);
    EXPECT_EQ(joint(), family);
}

} // namespace
} // namespace talik::test
