// A port number that the settings window never offers - a hand-edited settings file - is told with
// the dialler's own message for a port it cannot open, and no dialler is started with it.
#include <gtest/gtest.h>

#include "dial/dialrequest.h"
#include "listwin/appstate.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

TEST(DialPortTest, APortOutsideCom1ToCom5IsRefusedBeforeTheDiallerStarts)
{
    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    RecordingLauncher launcher;
    state.ProgramFolder = dir.str() + "/";
    WriteFileBytes(dir.path() / "Talikad2", {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
    std::filesystem::permissions(dir.path() / "Talikad2", std::filesystem::perms::owner_all);
    state.DialNumber = "123";
    state.settings.ComTelType = 1;
    for (int port : {10, 999, -1, 6}) {
        for (DialFrom from : {DialFrom::MainWindow, DialFrom::SearchWindow}) {
            state.settings.ComPort = port;
            DialRequest(state, launcher, from, [&] { state.EditStatus = 'Y'; });
        }
    }
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>(8, "指定されたCOMポートは使用できません。ポートを確認してください。"));
    state.settings.ComPort = 5;
    DialRequest(state, launcher, DialFrom::MainWindow, [&] { state.EditStatus = 'Y'; });
    ASSERT_EQ(launcher.arguments.size(), 1u);
    EXPECT_EQ(launcher.arguments[0].back(), "[0]123[1]5ATDT[2][3]");
}

} // namespace
} // namespace talik::test
