// Start-up rules: the mode on the command line, the titles that carry it, the ending path, help.
#include <filesystem>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "store/database.h"
#include "store/settings.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

TEST(ModeArgument, TheFirstDashAndTwoDigitsNameTheMode)
{
    EXPECT_EQ(ParseModeArgument("-05abc").mode, 5);
    EXPECT_FALSE(ParseModeArgument("-05abc").invalid);
    EXPECT_EQ(ParseModeArgument("x -12 -34").mode, 12);
    EXPECT_EQ(ParseModeArgument("").mode, 0);
    EXPECT_FALSE(ParseModeArgument("").invalid);
    for (const char* bad : {"-x", "-5", "-", "--03", "-1a"}) {
        EXPECT_TRUE(ParseModeArgument(bad).invalid) << bad;
        EXPECT_EQ(ParseModeArgument(bad).mode, 0) << bad;
    }
}

TEST(ModeArgument, TitlesCarryTheModeInTwoDigits)
{
    EXPECT_EQ(MainWindowTitle(3), "Rinmaro (Ver. 7.01) Mode 03");
    EXPECT_EQ(TrayTip(0), "Rinmaro Mode 00");
    EXPECT_NE(InstanceName("1000", "/p", 0), InstanceName("1000", "/p", 1));
    EXPECT_NE(InstanceName("1000", "/p", 0), InstanceName("1001", "/p", 0));
    EXPECT_NE(InstanceName("1000", "/p", 0), InstanceName("1000", "/q", 0));
}

// The records are read ahead, before Qt starts, from the database the settings of the mode started
// open: the load of that mode takes them; a load that reads another database reads for itself.
TEST_F(StoreTest, RecordsAreReadAheadFromTheDatabaseTheStartedModesSettingsOpen)
{
    addRecord("ﾔﾏﾀﾞ", "山田");
    TempDir profile;
    std::ofstream(SettingsFile(profile.str()), std::ios::binary)
        << "[System]\r\nDBPathAddr=" << profile.str() << "\r\n[System_03]\r\nDBPathAddr=" << dir.str() << "\r\n";
    const StartFolders folders{state.ProgramFolder, state.WritableFolder, profile.str()};
    state.ProfileFolder = profile.str();
    for (int mode : {3, 0}) {
        const std::shared_ptr<ReadAhead> ahead = StartReadingAhead(mode, folders, std::chrono::nanoseconds(0));
        AppState started{ui, clock};
        started.ProgramFolder = state.ProgramFolder;
        started.WritableFolder = state.WritableFolder;
        started.ProfileFolder = profile.str();
        started.Mode = 3;
        ReadAllSettings(started);
        started.readAhead = ahead;
        ASSERT_EQ(LoadTables(started), LoadResult::Loaded) << mode;
        EXPECT_EQ(ahead->taken(), mode == 3) << mode;
        EXPECT_EQ(started.tables.TotalCount, 1) << mode;
    }
}

class EndingPath : public StoreTest
{
protected:
    CloseOutcome close(bool systemClosing = false)
    {
        return CloseMainWindow(
            state, systemClosing,
            {[this] { steps += "geometry "; }, [this] { steps += "write "; }, [this] { steps += "unload "; }});
    }
    std::string steps;
};

TEST_F(EndingPath, WithATrayIconClosingOnlyHides)
{
    state.ExitRequested = false;
    EXPECT_EQ(close(), CloseOutcome::Hide);
    EXPECT_EQ(steps, "");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(EndingPath, EndingWritesTheSettingsOnceThenAsks)
{
    ui.yesNoAnswers = {true};
    EXPECT_EQ(close(), CloseOutcome::End);
    EXPECT_EQ(steps, "geometry write unload ");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Ｍｉｒｅｐｏｌを終了しますか？");
    EXPECT_EQ(ui.shown[0].title, "終了確認");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(EndingPath, NoKeepsTheProgramWhole)
{
    ui.yesNoAnswers = {false};
    EXPECT_EQ(close(), CloseOutcome::Cancel);
    EXPECT_EQ(steps, "geometry write ");
}

TEST_F(EndingPath, EndCheckEndsWithoutAskingAndTheSessionEndEndsEvenFromTheTray)
{
    state.settings.End_Check = 1;
    state.ExitRequested = false;
    EXPECT_EQ(close(true), CloseOutcome::End);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(steps, "geometry write unload ");
}

TEST_F(StoreTest, SettingsThatCannotBeWrittenAtTheEndAreToldToTheUser)
{
    std::ofstream(dir.path() / "not-a-folder") << "a file where the settings folder should be";
    state.ProfileFolder = dir.str() + "/not-a-folder/";
    EXPECT_FALSE(WriteAllSettings(state));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "設定ファイル（" + dir.str() +
                                    "/not-a-folder/QXSCH.INI）への書き込みに失敗しました。\r\n" +
                                    "ディスクの空き容量とアクセス権を確認してください。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(StoreTest, HelpOpensTheProgramFoldersHelpFileOrSaysItIsMissing)
{
    RecordingLauncher launcher;
    OpenHelp(state, launcher);
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"TALIK32.HLPがありません。"});

    std::ofstream(dir.path() / "talik32.hlp") << "help";
    ui.shown.clear();
    OpenHelp(state, launcher);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.str() + "/talik32.hlp"});
    EXPECT_TRUE(ui.shown.empty());

    launcher.answer = false; // the viewer reported an error
    OpenHelp(state, launcher);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"TALIK32.HLPがありません。"});
}

} // namespace
} // namespace talik::test
