// talikcli sync against a real Radicale: the summary line, --dry-run, the exit code, and runs
// killed at random points converging.
#include <signal.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "sync/carddav.h"
#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

class CliSyncTest : public CliFixture
{
protected:
    void SetUp() override
    {
        if (!server.running()) {
            GTEST_SKIP() << "no Radicale";
        }
        std::ofstream(capture.str() + "/pw") << server.password() << "\n";
    }
    ProgramRun sync(std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {
            "sync", "--url", server.book(), "--user", server.user(), "--server-password-file", capture.str() + "/pw"};
        args.insert(args.end(), more.begin(), more.end());
        return cli(args);
    }
    std::size_t serverCount()
    {
        CardDavClient client({server.user(), server.password(), ""});
        std::string error;
        auto listing = client.list(server.book(), "", error);
        return listing ? listing->etags.size() : 0;
    }
    // Imports `count` people from a vCard file.
    void importPeople(int count)
    {
        std::string file;
        for (int i = 0; i < count; ++i) {
            std::string n = std::to_string(i);
            file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:人;" + n + "\r\nFN:人 " + n +
                    "\r\nX-PHONETIC-LAST-NAME:ヒト\r\nEMAIL:p" + n + "@example.jp\r\nEND:VCARD\r\n";
        }
        std::ofstream(capture.str() + "/people.vcf", std::ios::binary) << file;
        ProgramRun run = cli({"import", capture.str() + "/people.vcf"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }

    DavServer server{DavServer::Kind::Radicale};
};

TEST_F(CliSyncTest, PrintsTheSummaryAndADryRunChangesNothing)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田 太郎"});
    add({"--KanaName=ｽｽﾞｷ", "--KanjiName=鈴木 花子"});
    ProgramRun dry = sync({"--dry-run"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_EQ(dry.out, "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 2・更新 0・削除 0／競合 0\n");
    EXPECT_EQ(serverCount(), 0u);
    ProgramRun run = sync();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, dry.out);
    EXPECT_EQ(serverCount(), 2u);
    // The account is kept: a later run needs no URL.
    ProgramRun again = cli({"sync", "--server-password-file", capture.str() + "/pw"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0\n");
    // A wrong server password is a failure, never a success.
    std::ofstream(capture.str() + "/bad") << "wrong\n";
    ProgramRun refused = cli({"sync", "--server-password-file", capture.str() + "/bad"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("401"), std::string::npos) << refused.err;
}

TEST_F(CliSyncTest, RunsKilledAtRandomPointsConvergeWithNothingLostOrDoubled)
{
    const int people = 300;
    importPeople(people);
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<int> delay(50, 1500);
    for (int round = 0; round < 3; ++round) {
        std::vector<std::string> args = {TALIKCLI_PATH,
                                         "--data",
                                         data.str(),
                                         "sync",
                                         "--url",
                                         server.book(),
                                         "--user",
                                         server.user(),
                                         "--server-password-file",
                                         capture.str() + "/pw"};
        int pid = StartProgram(args);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
        kill(pid, SIGKILL);
        WaitForProgram(pid);
    }
    ProgramRun rest = sync();
    EXPECT_EQ(rest.exitCode, 0) << rest.err;
    EXPECT_EQ(serverCount(), static_cast<std::size_t>(people));
    EXPECT_EQ(cli({"count"}).out, std::to_string(people) + "\n");
    EXPECT_EQ(sync().out, "この住所録: 追加 0・更新 0・削除 0／サーバー: 追加 0・更新 0・削除 0／競合 0\n");
}

} // namespace
} // namespace talik::test
