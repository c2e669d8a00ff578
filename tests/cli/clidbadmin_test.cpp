// talikcli's database commands run for real: backup and restore, names and counts, copy and move
// to another database, and the password.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class CliDbAdminTest : public CliFixture
{
protected:
    void addTwo()
    {
        add({"--KanaName=ｱｲ", "--KanjiName=相"});
        add({"--KanaName=ｶｷ", "--KanjiName=柿"});
    }
    TempDir backup;
};

TEST_F(CliDbAdminTest, BackupAndRestoreRoundTripWithExitCodes)
{
    addTwo();
    ProgramRun run = cli({"backup", "--to", backup.str()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(backup.path() / "MRPDAT01.qx1"), ReadFileBytes(data.path() / "MRPDAT01.QX1"));
    EXPECT_FALSE(fs::exists(backup.path() / "MRPDAT02.qx1"));

    cli({"delete", "2"});
    // The data file is newer now: restore keeps it unless told otherwise.
    fs::last_write_time(data.path() / "MRPDAT01.QX1", fs::file_time_type::clock::now() + std::chrono::hours(1));
    run = cli({"restore", "--from", backup.str(), "--databases", "1"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("いいえ"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"count"}).out, "1\n");
    run = cli({"restore", "--from", backup.str(), "--databases", "1", "--overwrite-newer"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cli({"count"}).out, "2\n");
}

TEST_F(CliDbAdminTest, BackupRefusesTheDataFolderAndUsageErrors)
{
    addTwo();
    EXPECT_EQ(cli({"backup", "--to", data.str() + "/."}).exitCode, 1);
    EXPECT_EQ(cli({"backup"}).exitCode, 2);
    EXPECT_EQ(cli({"backup", "--to", backup.str(), "--databases", "11"}).exitCode, 2);
    EXPECT_TRUE(fs::is_empty(backup.path()));
}

TEST_F(CliDbAdminTest, DatabasesListsNamesAndCountsCreatingNothing)
{
    addTwo();
    ProgramRun run = cli({"databases"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n', run.out.find('\n') + 1) + 1),
              "1\tデータベース1\t2\n2\tデータベース2\t\n");
    EXPECT_FALSE(fs::exists(data.path() / "MRPDAT02.QX1"));
}

TEST_F(CliDbAdminTest, RenameDbStoresTheNameOrRefusesIt)
{
    EXPECT_EQ(cli({"rename-db", "3", "友人 & 家族"}).exitCode, 0);
    EXPECT_NE(cli({"databases"}).out.find("3\t友人 & 家族\t"), std::string::npos);
    EXPECT_EQ(cli({"rename-db", "3", std::string(80, 'x')}).exitCode, 1);
    EXPECT_EQ(cli({"rename-db", "3", "한국"}).exitCode, 1);
    EXPECT_EQ(cli({"rename-db", "3", ""}).exitCode, 0);
    EXPECT_NE(cli({"databases"}).out.find("3\tデータベース3\t"), std::string::npos);
}

TEST_F(CliDbAdminTest, CopyAndMoveToAnotherDatabase)
{
    addTwo();
    ProgramRun run = cli({"copy-to", "2", "--records", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cli({"--db", "2", "count"}).out, "1\n");
    EXPECT_EQ(cli({"count"}).out, "2\n");
    run = cli({"move-to", "2", "--records", "2,3"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cli({"--db", "2", "count"}).out, "3\n");
    EXPECT_EQ(cli({"count"}).out, "0\n");
}

TEST_F(CliDbAdminTest, AMissingRecordRefusesTheWholeRequest)
{
    addTwo();
    ProgramRun run = cli({"move-to", "2", "--records", "2,9"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("9"), std::string::npos);
    EXPECT_EQ(cli({"count"}).out, "2\n");
    EXPECT_FALSE(fs::exists(data.path() / "MRPDAT02.QX1"));
}

TEST_F(CliDbAdminTest, PasswordSetFromStandardInputThenClearedAndTheTargetPassword)
{
    addTwo();
    fs::path input = capture.path() / "pw.txt";
    std::ofstream(input) << "s3cret\n";
    ProgramRun run = cli({"password", "--set", "-"}, input);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cli({"count"}).exitCode, 1);
    EXPECT_EQ(cli({"--password", "s3cret", "count"}).out, "2\n");
    EXPECT_EQ(cli({"--password", "s3cret", "password", "--set", "123456789012345"}).exitCode, 1);

    // Database 2 protected: copying into it needs its password.
    cli({"--db", "2", "add", "--KanaName=ｻ"});
    EXPECT_EQ(cli({"--db", "2", "password", "--set", "two"}).exitCode, 0);
    EXPECT_EQ(cli({"--password", "s3cret", "copy-to", "2", "--records", "2"}).exitCode, 1);
    EXPECT_EQ(cli({"--password", "s3cret", "copy-to", "2", "--records", "2", "--to-password", "two"}).exitCode, 0);

    EXPECT_EQ(cli({"--password", "s3cret", "password", "--clear"}).exitCode, 0);
    EXPECT_EQ(cli({"count"}).out, "2\n");
}

} // namespace
} // namespace talik::test
