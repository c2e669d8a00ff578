// Copies of different modes writing the one settings file at the same time keep each other's keys.
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "store/settings.h"
#include "tests/support/tempdir.h"

extern char** environ;

namespace talik {
namespace {

constexpr int Rounds = 150;

pid_t StartWriter(const std::string& file, const std::string& kind, int mode)
{
    std::vector<std::string> args{SETTINGS_WRITER_PATH, file, kind, std::to_string(mode), std::to_string(Rounds)};
    std::vector<char*> argv;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, SETTINGS_WRITER_PATH, nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SettingsFileShared, ThreeCopiesWritingAtOnceLoseNoKey)
{
    test::TempDir dir;
    const std::string file = (dir.path() / "QXSCH.INI").string();
    const pid_t keys = StartWriter(file, "keys", 1);
    const pid_t settings = StartWriter(file, "settings", 2);
    const pid_t names = StartWriter(file, "names", 3);
    ASSERT_EQ(WaitFor(keys), 0);
    ASSERT_EQ(WaitFor(settings), 0);
    ASSERT_EQ(WaitFor(names), 0);

    const ProfileDocument doc = ProfileDocument::load(file);
    const std::string last = "round " + std::to_string(Rounds - 1);
    int lost = 0;
    for (int round = 0; round < Rounds; ++round) {
        lost += doc.value("System_01", "Key" + std::to_string(round)) != "round " + std::to_string(round);
    }
    EXPECT_EQ(lost, 0) << "keys of mode 1 dropped by the other writers";
    EXPECT_EQ(doc.value("System_02", "BackupPath"), last);
    EXPECT_EQ(doc.value("Copy_Setting_02", "Title03"), "コピー04");
    EXPECT_EQ(doc.value("System_03", "AddrDBName1"), last);
    EXPECT_EQ(doc.value("System_03", "AddrDBName10"), "データベース10");
}

} // namespace
} // namespace talik
