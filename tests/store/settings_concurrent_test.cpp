// Copies of different modes writing the one settings file at the same time keep each other's keys.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "store/settings.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

constexpr int Rounds = 150;

int StartSettingsWriter(const std::string& file, const std::string& kind, int mode)
{
    return test::StartProgram({SETTINGS_WRITER_PATH, file, kind, std::to_string(mode), std::to_string(Rounds)});
}

TEST(SettingsFileShared, ThreeCopiesWritingAtOnceLoseNoKey)
{
    test::TempDir dir;
    const std::string file = (dir.path() / "QXSCH.INI").string();
    const int keys = StartSettingsWriter(file, "keys", 1);
    const int settings = StartSettingsWriter(file, "settings", 2);
    const int names = StartSettingsWriter(file, "names", 3);
    ASSERT_EQ(test::WaitForProgram(keys), 0);
    ASSERT_EQ(test::WaitForProgram(settings), 0);
    ASSERT_EQ(test::WaitForProgram(names), 0);

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
