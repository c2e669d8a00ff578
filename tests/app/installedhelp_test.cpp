// An installed address book finds its help file among the shared files of its prefix.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

TEST_F(StoreTest, HelpOfAnInstalledCopyComesFromItsSharedFolderUnlessTheProgramFolderHasOne)
{
    std::filesystem::create_directories(dir.path() / "bin");
    std::filesystem::create_directories(dir.path() / "share/talik");
    state.ProgramFolder = dir.str() + "/bin/";
    std::ofstream(dir.path() / "share/talik/TALIK32.HLP") << "help";
    RecordingLauncher launcher;
    OpenHelp(state, launcher);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.str() + "/share/talik/TALIK32.HLP"});
    EXPECT_TRUE(ui.shown.empty());

    // One beside the program comes first, as it always did.
    std::ofstream(dir.path() / "bin/Talik32.hlp") << "help";
    launcher.opened.clear();
    OpenHelp(state, launcher);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{dir.str() + "/bin/Talik32.hlp"});
}

} // namespace
} // namespace talik::test
