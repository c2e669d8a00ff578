// The environment settings' core: the values copied from the settings, the folder and font-size
// rules, one checked write of every key, and a changed data folder taking the tables with it.
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editor/envsettings.h"
#include "platform/profile.h"
#include "store/database.h"
#include "store/settings.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class EnvironmentStore : public StoreTest
{
protected:
    EnvironmentStore()
    {
        profile = dir.path() / "profile";
        std::filesystem::create_directory(profile);
        state.ProfileFolder = profile.string();
        state.Mode = 2;
        std::ofstream(iniPath(), std::ios::binary)
            << "; kept\r\n[System]\r\nComPort=4\r\n[System_02]\r\nAddr0Left=120\r\nComPort=2\r\n";
    }

    std::string iniPath() const { return (profile / "QXSCH.INI").string(); }
    std::string iniBytes() const
    {
        auto bytes = ReadFileBytes(iniPath());
        return std::string(bytes.begin(), bytes.end());
    }
    Settings reread() const
    {
        Settings settings;
        ReadSettings(settings, iniPath(), dir.str() + "/talik.ini", 2);
        return settings;
    }
    // Every value changed from its default.
    EnvironmentValues edited() const
    {
        EnvironmentValues v;
        for (int i = 0; i < 15; ++i) {
            v.AddressCheck[i] = "年賀状" + std::to_string(i + 1);
        }
        v.ComInitChar = "ATZ E0";
        v.ComExtTel = "0,";
        v.FromAddr = "東京都千代田区一番町１";
        v.FromName = "山田　太郎";
        v.FromPost = "102-0082";
        v.FromAddr1 = "大阪府大阪市北区梅田２";
        v.FromName1 = "山田　花子";
        v.FromPost1 = "530-0001";
        v.DataFolder = dir.str() + "/";
        v.ListFontName = "ＭＳ 明朝";
        v.ListFontSize = "12";
        v.ComPort = 3;
        v.ComTelType = 2;
        v.DBLClickOPT = 5;
        v.End_Check = true;
        v.TaskTray = true;
        v.UseHarupo = true;
        v.HarupoAutoStartOff = true;
        v.ExtTelFlag = true;
        return v;
    }

    std::filesystem::path profile;
};

TEST_F(EnvironmentStore, EveryEditedValueGoesThroughTheFileAndReadsBackTheSame)
{
    const EnvironmentValues v = edited();
    const StoreResult result = StoreEnvironment(state, v);
    ASSERT_EQ(result.outcome, StoreOutcome::Stored);
    EXPECT_TRUE(result.listFontChanged);
    EXPECT_FALSE(result.dataFolderChanged); // the trailing "/" names the same folder
    EXPECT_TRUE(ui.shown.empty());

    const Settings s = reread();
    const EnvironmentValues back = EnvironmentFromSettings(s);
    EXPECT_EQ(back.AddressCheck, v.AddressCheck);
    EXPECT_EQ(back.ComInitChar, v.ComInitChar);
    EXPECT_EQ(back.ComExtTel, v.ComExtTel);
    EXPECT_EQ(back.FromAddr, v.FromAddr);
    EXPECT_EQ(back.FromName, v.FromName);
    EXPECT_EQ(back.FromPost, v.FromPost);
    EXPECT_EQ(back.FromAddr1, v.FromAddr1);
    EXPECT_EQ(back.FromName1, v.FromName1);
    EXPECT_EQ(back.FromPost1, v.FromPost1);
    EXPECT_EQ(back.DataFolder, dir.str());
    EXPECT_EQ(back.ListFontName, v.ListFontName);
    EXPECT_EQ(back.ListFontSize, "12");
    EXPECT_EQ(back.ComPort, 3);
    EXPECT_EQ(back.ComTelType, 2);
    EXPECT_EQ(back.DBLClickOPT, 5);
    EXPECT_TRUE(back.End_Check && back.TaskTray && back.UseHarupo && back.HarupoAutoStartOff && back.ExtTelFlag);
    // Switches as the program has always stored them; HarupoRun inverted.
    EXPECT_EQ(s.End_Check, -1);
    EXPECT_EQ(s.HarupoRun, 0);

    // The running program holds what the file holds.
    EXPECT_EQ(state.settings.ComPort, 3);
    EXPECT_EQ(state.settings.ListFontSize, 12);
    EXPECT_EQ(state.settings.AddressCheck, s.AddressCheck);
    EXPECT_EQ(state.settings.DBPathAddr, dir.str());
    // The tray follows at the next start only.
    EXPECT_FALSE(state.TrayMode);

    // Other sections, other keys and the comment stay.
    ProfileDocument doc = ProfileDocument::load(iniPath());
    EXPECT_EQ(doc.value("System", "ComPort"), "4");
    EXPECT_EQ(doc.value("System_02", "Addr0Left"), "120");
    EXPECT_EQ(doc.lines().front(), "; kept");
}

TEST_F(EnvironmentStore, OpeningValuesTakeOneForAnUnsetPortLineTypeAndDoubleClickAction)
{
    Settings s;
    s.ComPort = 0;
    s.ComTelType = 7;
    s.DBLClickOPT = -1;
    s.HarupoRun = -1;
    const EnvironmentValues v = EnvironmentFromSettings(s);
    EXPECT_EQ(v.ComPort, 1);
    EXPECT_EQ(v.ComTelType, 1);
    EXPECT_EQ(v.DBLClickOPT, 1);
    EXPECT_FALSE(v.HarupoAutoStartOff);
    EXPECT_EQ(v.DataFolder, "*");
    EXPECT_EQ(v.ListFontSize, "10");
}

TEST_F(EnvironmentStore, AFileThatCannotBeWrittenIsToldAndNothingIsTakenOver)
{
    std::ofstream(dir.path() / "not-a-folder") << "a file where the settings folder should be";
    state.ProfileFolder = dir.str() + "/not-a-folder";
    const Settings before = state.settings;
    EnvironmentValues v = edited();
    v.DataFolder = "*";
    EXPECT_EQ(StoreEnvironment(state, v).outcome, StoreOutcome::NotWritten);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "設定ファイル（" + dir.str() +
                                    "/not-a-folder/QXSCH.INI）への書き込みに失敗しました。\r\n" +
                                    "ディスクの空き容量とアクセス権を確認してください。");
    EXPECT_EQ(state.settings.ComPort, before.ComPort);
    EXPECT_EQ(state.settings.AddressCheck, before.AddressCheck);
    EXPECT_EQ(state.settings.DBPathAddr, before.DBPathAddr);
    EXPECT_EQ(state.DataPath, dir.str());
}

TEST_F(EnvironmentStore, ABadFolderOrFontSizeIsToldAndLeavesTheFileAsItWas)
{
    const std::string before = iniBytes();
    EnvironmentValues v = edited();
    v.DataFolder = dir.str() + "/missing";
    EXPECT_EQ(StoreEnvironment(state, v).outcome, StoreOutcome::BadFolder);
    v = edited();
    v.ListFontSize = "-";
    EXPECT_EQ(StoreEnvironment(state, v).outcome, StoreOutcome::BadFontSize);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].text, "ディレクトリーの指定が正しくありません。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.shown[1].text, "正しい数値を入力してください。");
    EXPECT_EQ(iniBytes(), before);
    EXPECT_EQ(state.settings.ComPort, 0);
}

TEST_F(EnvironmentStore, DataFolderRules)
{
    EXPECT_EQ(DataFolderSetting(""), "*");
    EXPECT_EQ(DataFolderSetting("   "), "*");
    EXPECT_EQ(DataFolderSetting("*"), "*");
    EXPECT_EQ(DataFolderSetting(" " + dir.str() + "// "), dir.str());
    // Missing, a file, a relative path.
    EXPECT_EQ(DataFolderSetting(dir.str() + "/missing"), std::nullopt);
    std::ofstream(dir.path() / "plain") << "x";
    EXPECT_EQ(DataFolderSetting(dir.str() + "/plain"), std::nullopt);
    EXPECT_EQ(DataFolderSetting("relative/folder"), std::nullopt);
    // Longer than the 59 bytes the setting reads back: an existing folder all the same.
    std::filesystem::path deep = dir.path();
    while (deep.string().size() <= 60) {
        deep /= "abcdefghij";
    }
    std::filesystem::create_directories(deep);
    EXPECT_EQ(DataFolderSetting(deep.string()), std::nullopt);
    // Characters CP932 lacks would come back as "?".
    const std::filesystem::path foreign = dir.path() / "한글";
    std::filesystem::create_directory(foreign);
    if (foreign.string().size() < 50) {
        EXPECT_EQ(DataFolderSetting(foreign.string()), std::nullopt);
    }
    const std::filesystem::path japanese = dir.path() / "住所";
    std::filesystem::create_directory(japanese);
    if (japanese.string().size() < 50) {
        EXPECT_EQ(DataFolderSetting(japanese.string()), japanese.string());
    }
}

TEST_F(EnvironmentStore, AFolderThatCannotBeWrittenIsRefused)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into every folder";
    }
    const std::filesystem::path locked = dir.path() / "locked";
    std::filesystem::create_directory(locked);
    chmod(locked.c_str(), 0555);
    EXPECT_EQ(DataFolderSetting(locked.string()), std::nullopt);
    chmod(locked.c_str(), 0755);
}

TEST(ListFontSize, WholeNumbersOnlyAndNeverBelowSix)
{
    for (const char* bad : {"", "-", ".", "-3", "1.5", "abc", "73", "+8", "8x"}) {
        EXPECT_EQ(ListFontSizeOf(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(ListFontSizeOf("0"), 6);
    EXPECT_EQ(ListFontSizeOf("5"), 6);
    EXPECT_EQ(ListFontSizeOf("6"), 6);
    EXPECT_EQ(ListFontSizeOf(" 12 "), 12);
    EXPECT_EQ(ListFontSizeOf("72"), 72);
}

TEST(Cp932Limits, BytesAndCharacters)
{
    EXPECT_TRUE(FitsCp932(std::string(39, 'a'), 39));
    EXPECT_FALSE(FitsCp932(std::string(40, 'a'), 39));
    EXPECT_TRUE(FitsCp932("年賀状", 6));
    EXPECT_FALSE(FitsCp932("年賀状", 5));
    EXPECT_FALSE(FitsCp932("😀", 39));
}

TEST_F(EnvironmentStore, TextsLongerThanWhatReadsBackAreCutOnAWholeCharacter)
{
    EnvironmentValues v = edited();
    v.AddressCheck[0] = std::string(38, 'a') + "あ"; // 40 bytes
    v.FromAddr = std::string(80, 'b');
    ASSERT_EQ(StoreEnvironment(state, v).outcome, StoreOutcome::Stored);
    const Settings s = reread();
    EXPECT_EQ(s.AddressCheck[0], std::string(38, 'a'));
    EXPECT_EQ(s.FromAddr, std::string(79, 'b'));
    EXPECT_EQ(state.settings.AddressCheck[0], s.AddressCheck[0]);
}

// Another folder: the tables must follow it before anything is written, or the next save would
// reuse a slot the old tables knew to be free and overwrite someone in the new folder.
TEST_F(EnvironmentStore, AChangedDataFolderClearsTheTablesAndTheNextSaveGoesToItsDatabase)
{
    load();
    addRecord("ｱｵｷ", "青木"); // record 2 in the old folder

    const std::filesystem::path other = dir.path() / "other";
    std::filesystem::create_directory(other);
    WriteRecords((other / "MRPDAT01.QX1").string(),
                 {HandMainHeader(3), HandAddress("\xB2\xC9\xB3\xB4", "\x88\xC9\x93\x8C"),
                  HandAddress("\xB3\xBB\xDE\xC9", "\x89\x46\x96\xEC")});
    WriteRecords((other / "MRPDAT01.QX2").string(), {HandExtraHeader(3), HandExtra(""), HandExtra("")});
    const auto strangers = ReadFileBytes(other / "MRPDAT01.QX1");

    EnvironmentValues v = edited();
    v.DataFolder = other.string();
    const StoreResult result = StoreEnvironment(state, v);
    ASSERT_EQ(result.outcome, StoreOutcome::Stored);
    EXPECT_TRUE(result.dataFolderChanged);
    EXPECT_FALSE(state.TablesLoaded);
    EXPECT_EQ(state.DataPath, other.string());

    ASSERT_EQ(LoadTables(state), LoadResult::Loaded);
    EXPECT_EQ(state.tables.TotalCount, 2);
    EXPECT_EQ(addRecord("ｶﾄｳ", "加藤"), 4);
    const auto after = ReadFileBytes(other / "MRPDAT01.QX1");
    EXPECT_TRUE(std::equal(strangers.begin() + 600, strangers.begin() + 1800, after.begin() + 600));
}

} // namespace
} // namespace talik::test
