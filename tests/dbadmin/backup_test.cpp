// Backup and restore copy whole pairs between the data folder and a backup folder: byte for byte
// with their times, a newer destination only when the user agrees, never onto the data folder
// itself, and a failed copy leaves the destination's pair as it was.
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "dbadmin/backup.h"
#include "platform/recordfile.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

timespec MTime(const fs::path& file)
{
    struct stat st
    {
    };
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st.st_mtim;
}

void SetMTime(const fs::path& file, time_t seconds)
{
    timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

void ExpectSameFile(const fs::path& a, const fs::path& b)
{
    EXPECT_EQ(ReadFileBytes(a), ReadFileBytes(b)) << a << " / " << b;
    EXPECT_EQ(MTime(a).tv_sec, MTime(b).tv_sec);
    EXPECT_EQ(MTime(a).tv_nsec, MTime(b).tv_nsec);
}

// Refuses every write to a file whose name ends as given, as a full or write-protected disk does.
class RefuseGate final : public WriteGate
{
public:
    explicit RefuseGate(std::string suffix) : m_suffix(std::move(suffix)) {}
    std::size_t admit(const std::string& path, std::int64_t, std::size_t size) override
    {
        bool hit = path.size() >= m_suffix.size() &&
                   path.compare(path.size() - m_suffix.size(), m_suffix.size(), m_suffix) == 0;
        return hit ? 0 : size;
    }

private:
    std::string m_suffix;
};

class BackupTest : public StoreTest
{
protected:
    BackupTest()
    {
        for (int n = 1; n <= 10; ++n) {
            state.settings.AddrDBName[n - 1] = "データベース" + std::to_string(n);
        }
    }

    // A database of one address whose name tells the databases and versions apart.
    void makeDatabase(
        const fs::path& folder, int dbNo, const std::string& tag, const char* ext1 = ".QX1", const char* ext2 = ".QX2")
    {
        char stem[16];
        std::snprintf(stem, sizeof(stem), "MRPDAT%02d", dbNo);
        WriteRecords((folder / (std::string(stem) + ext1)).string(), {HandMainHeader(2), HandAddress("\xb1", tag)});
        WriteRecords((folder / (std::string(stem) + ext2)).string(), {HandExtraHeader(2), HandExtra(tag)});
        SetMTime(folder / (std::string(stem) + ext1), 1'700'000'000);
        SetMTime(folder / (std::string(stem) + ext2), 1'700'000'001);
    }

    BackupRequest request(std::initializer_list<int> dbs, bool restore = false)
    {
        BackupRequest r;
        r.restore = restore;
        r.backupFolder = backup.str();
        for (int n : dbs) {
            r.databases[n - 1] = true;
        }
        return r;
    }

    fs::path data() const { return dir.path(); }

    TempDir backup;
};

TEST_F(BackupTest, CopiesTheTickedPairsByteForByteWithTheirTimesAndNothingElse)
{
    makeDatabase(data(), 1, "one");
    makeDatabase(data(), 2, "two");
    makeDatabase(data(), 3, "three");
    BackupOutcome outcome = RunBackup(state, request({1, 3}));
    EXPECT_EQ(outcome.done, (std::vector<int>{1, 3}));
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(FileNames(backup.path()),
              (std::vector<std::string>{"MRPDAT01.qx1", "MRPDAT01.qx2", "MRPDAT03.qx1", "MRPDAT03.qx2"}));
    ExpectSameFile(data() / "MRPDAT01.QX1", backup.path() / "MRPDAT01.qx1");
    ExpectSameFile(data() / "MRPDAT01.QX2", backup.path() / "MRPDAT01.qx2");
    ExpectSameFile(data() / "MRPDAT03.QX1", backup.path() / "MRPDAT03.qx1");
    ExpectSameFile(data() / "MRPDAT03.QX2", backup.path() / "MRPDAT03.qx2");
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"処理は正常に終了しました。"}));
    EXPECT_EQ(state.settings.BackupPath, backup.str() + "/");
}

TEST_F(BackupTest, AnUnchangedSecondBackupAsksNothing)
{
    makeDatabase(data(), 1, "one");
    RunBackup(state, request({1}));
    BackupOutcome again = RunBackup(state, request({1}));
    EXPECT_EQ(again.done, (std::vector<int>{1}));
    for (const auto& shown : ui.shown) {
        EXPECT_NE(shown.kind, "question");
    }
}

TEST_F(BackupTest, ANewerCopyIsKeptOnNoAndReplacedOnYesAskingOncePerDatabase)
{
    makeDatabase(data(), 1, "one");
    makeDatabase(backup.path(), 1, "newer", ".qx1", ".qx2");
    SetMTime(backup.path() / "MRPDAT01.qx1", 1'700'000'000 + 3600);
    auto before = ReadFileBytes(backup.path() / "MRPDAT01.qx1");

    ui.yesNoAnswers = {false};
    BackupOutcome declined = RunBackup(state, request({1}));
    EXPECT_TRUE(declined.done.empty());
    EXPECT_EQ(ReadFileBytes(backup.path() / "MRPDAT01.qx1"), before);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"何も処理されませんでした。"}));
    ASSERT_EQ(ui.shown.front().kind, "question");
    EXPECT_EQ(ui.shown.front().text,
              "コピー先にコピー元より新しい日付のファイルが存在します。このまま上書きしますか？");
    EXPECT_EQ(ui.shown.front().icon, MessageIcon::Question);

    ui.shown.clear();
    ui.yesNoAnswers = {true};
    BackupOutcome agreed = RunBackup(state, request({1}));
    EXPECT_EQ(agreed.done, (std::vector<int>{1}));
    ExpectSameFile(data() / "MRPDAT01.QX1", backup.path() / "MRPDAT01.qx1");
    ExpectSameFile(data() / "MRPDAT01.QX2", backup.path() / "MRPDAT01.qx2");
}

TEST_F(BackupTest, TwoSecondsLaterCountsAsTheSameTimeOnFatMedia)
{
    makeDatabase(data(), 1, "one");
    makeDatabase(backup.path(), 1, "old", ".qx1", ".qx2");
    SetMTime(backup.path() / "MRPDAT01.qx1", 1'700'000'002);
    EXPECT_EQ(RunBackup(state, request({1})).done, (std::vector<int>{1})); // no question scripted
}

TEST_F(BackupTest, TheDataFolderBySpellingOrLinkIsRefusedAndNothingIsCopied)
{
    makeDatabase(data(), 1, "one");
    auto before = ReadFileBytes(data() / "MRPDAT01.QX1");
    fs::create_directory_symlink(data(), backup.path() / "link");
    for (std::string spelling :
         {data().string() + "/", data().string() + "/.", data().string() + "/../" + data().filename().string(),
          (backup.path() / "link").string()}) {
        ui.shown.clear();
        BackupRequest r = request({1});
        r.backupFolder = spelling;
        BackupOutcome outcome = RunBackup(state, r);
        EXPECT_FALSE(outcome.started) << spelling;
        EXPECT_EQ(ui.messages(), (std::vector<std::string>{"データパスと同じ場所の指定は無効です。"})) << spelling;
        EXPECT_EQ(ReadFileBytes(data() / "MRPDAT01.QX1"), before);
        EXPECT_EQ(FileNames(data()), (std::vector<std::string>{"MRPDAT01.QX1", "MRPDAT01.QX2"}));
    }
}

TEST_F(BackupTest, AnEmptyRelativeOrMissingFolderIsRefusedBeforeAnything)
{
    makeDatabase(data(), 1, "one");
    for (std::string folder : {std::string(), std::string("backup"), backup.str() + "/missing"}) {
        ui.shown.clear();
        BackupRequest r = request({1});
        r.backupFolder = folder;
        EXPECT_FALSE(RunBackup(state, r).started) << folder;
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    }
    EXPECT_FALSE(fs::exists(backup.path() / "missing"));
    EXPECT_TRUE(fs::is_empty(backup.path()));
}

TEST_F(BackupTest, RestoreReplacesTheDataFilesWhateverTheCaseOfTheirNames)
{
    makeDatabase(data(), 1, "current");
    makeDatabase(backup.path(), 1, "saved", ".qx1", ".qx2");
    makeDatabase(backup.path(), 2, "second", ".qx1", ".qx2");
    SetMTime(backup.path() / "MRPDAT01.qx1", 1'700'000'000 + 60);
    BackupOutcome outcome = RunBackup(state, request({1, 2}, true));
    EXPECT_EQ(outcome.done, (std::vector<int>{1, 2}));
    EXPECT_TRUE(outcome.currentReplaced);
    // The replaced pair of database 1 stays as the previous generation; database 2 had none.
    EXPECT_EQ(FileNames(data()), (std::vector<std::string>{"MRPDAT01.QX1", "MRPDAT01.QX1.prev", "MRPDAT01.QX2",
                                                           "MRPDAT01.QX2.prev", "MRPDAT02.QX1", "MRPDAT02.QX2"}));
    ExpectSameFile(backup.path() / "MRPDAT01.qx1", data() / "MRPDAT01.QX1");
    ExpectSameFile(backup.path() / "MRPDAT02.qx2", data() / "MRPDAT02.QX2");
}

TEST_F(BackupTest, AFailedExtraCopyKeepsTheOldPairAndNamesWhatWasDone)
{
    makeDatabase(data(), 1, "one");
    makeDatabase(data(), 2, "two");
    makeDatabase(backup.path(), 2, "old", ".qx1", ".qx2");
    auto oldMain = ReadFileBytes(backup.path() / "MRPDAT02.qx1");
    auto oldExtra = ReadFileBytes(backup.path() / "MRPDAT02.qx2");
    RefuseGate gate("MRPDAT02.qx2");
    state.writeGate = &gate;
    BackupOutcome outcome = RunBackup(state, request({1, 2}));
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.done, (std::vector<int>{1}));
    EXPECT_EQ(ReadFileBytes(backup.path() / "MRPDAT02.qx1"), oldMain);
    EXPECT_EQ(ReadFileBytes(backup.path() / "MRPDAT02.qx2"), oldExtra);
    EXPECT_EQ(FileNames(backup.path()),
              (std::vector<std::string>{"MRPDAT01.qx1", "MRPDAT01.qx2", "MRPDAT02.qx1", "MRPDAT02.qx2"}));
    ASSERT_EQ(ui.messages().size(), 1u);
    const std::string told = ui.messages()[0];
    EXPECT_NE(told.find("MRPDAT02.qx2"), std::string::npos) << told;
    EXPECT_NE(told.find("処理済みのデータベース：データベース1"), std::string::npos) << told;
    EXPECT_EQ(told.find("正常"), std::string::npos);
}

TEST_F(BackupTest, AVanishedSourceFileIsToldAndTheRunGoesOn)
{
    makeDatabase(data(), 1, "one");
    makeDatabase(data(), 2, "two");
    fs::remove(data() / "MRPDAT01.QX2");
    BackupOutcome outcome = RunBackup(state, request({1, 2}));
    EXPECT_EQ(outcome.done, (std::vector<int>{2}));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0],
              "ファイル（" + (data() / "MRPDAT01.qx2").string() + "）はありません。処理は続行します。");
    EXPECT_FALSE(fs::exists(backup.path() / "MRPDAT01.qx1"));
}

TEST_F(BackupTest, TheSettingsFileGoesAlongWhenAsked)
{
    makeDatabase(data(), 1, "one");
    TempDir profile;
    state.ProfileFolder = profile.str();
    WriteFileBytes(profile.path() / "QXSCH.INI", {'[', 'S', ']', '\r', '\n'});
    BackupRequest r = request({1});
    r.settingsFile = true;
    EXPECT_TRUE(RunBackup(state, r).settingsCopied);
    ExpectSameFile(profile.path() / "QXSCH.INI", backup.path() / "QXSCH.INI");
}

TEST_F(BackupTest, APairIsOfferedOnlyWhenBothFilesAreThereInAnyCase)
{
    makeDatabase(backup.path(), 4, "x", ".Qx1", ".QX2");
    makeDatabase(backup.path(), 5, "y", ".qx1", ".qx2");
    fs::remove(backup.path() / "MRPDAT05.qx2");
    EXPECT_TRUE(PairExists(backup.str(), 4));
    EXPECT_FALSE(PairExists(backup.str(), 5));
    EXPECT_FALSE(PairExists(backup.str(), 6));
}

TEST(BackupFolder, AWindowsValueOrNothingMeansTheHomeFolder)
{
    EXPECT_EQ(DefaultBackupFolder("", "/home/u"), "/home/u/");
    EXPECT_EQ(DefaultBackupFolder("A:\\", "/home/u"), "/home/u/");
    EXPECT_EQ(DefaultBackupFolder("C:\\backup\\", "/home/u"), "/home/u/");
    EXPECT_EQ(DefaultBackupFolder("/media/u/usb", "/home/u"), "/media/u/usb/");
    EXPECT_EQ(DefaultBackupFolder("/media/u/usb/", "/home/u"), "/media/u/usb/");
    EXPECT_EQ(BackupFileName(3, false), "MRPDAT03.qx1");
    EXPECT_EQ(BackupFileName(10, true), "MRPDAT10.qx2");
}

} // namespace
} // namespace talik::test
