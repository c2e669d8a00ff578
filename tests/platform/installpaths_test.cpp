// Where an installed copy finds its files: programs on PATH, the shared data folder, and the
// user's own folder for what a copy in the build folder keeps beside itself.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/installpaths.h"
#include "platform/paths.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

void MakeProgram(const fs::path& file, fs::perms perms = fs::perms::owner_all)
{
    fs::create_directories(file.parent_path());
    test::WriteFileBytes(file, {'#', '!'});
    fs::permissions(file, perms);
}

TEST(FindOnPath, TakesTheFirstExecutableFileInPathOrder)
{
    TempDir dir;
    MakeProgram(dir.path() / "a/Talikad2", fs::perms::owner_read); // not executable
    fs::create_directories(dir.path() / "b/Talikad2");             // a folder of that name
    MakeProgram(dir.path() / "c/Talikad2");
    MakeProgram(dir.path() / "d/Talikad2");
    std::string path = "::" + dir.str() + "/a:" + dir.str() + "/b:" + dir.str() + "/c:" + dir.str() + "/d:";
    EXPECT_EQ(FindOnPath("Talikad2", path), dir.str() + "/c/Talikad2");
}

TEST(FindOnPath, FindsNothingWhereThereIsNothingToFind)
{
    TempDir dir;
    MakeProgram(dir.path() / "Talikad2");
    EXPECT_EQ(FindOnPath("Talikad2", ""), std::nullopt);
    EXPECT_EQ(FindOnPath("talikad2", dir.str()), std::nullopt); // PATH look-up minds case
    EXPECT_EQ(FindOnPath("", dir.str()), std::nullopt);
    // A name with a folder in it is not looked up at all.
    EXPECT_EQ(FindOnPath("./Talikad2", dir.str()), std::nullopt);
    EXPECT_EQ(FindOnPath(dir.str() + "/Talikad2", "/"), std::nullopt);
}

TEST(InstalledCopy, IsKnownByTheSharedDataFolderBesideItsProgramFolder)
{
    TempDir prefix;
    fs::create_directories(prefix.path() / "bin");
    const std::string bin = prefix.str() + "/bin/";
    EXPECT_EQ(InstalledDataFolder(bin), prefix.str() + "/share/talik/");
    EXPECT_EQ(InstalledDataFolder(prefix.str() + "/bin"), prefix.str() + "/share/talik/");
    EXPECT_FALSE(IsInstalledProgramFolder(bin)); // a build folder: bin/ alone
    fs::create_directories(prefix.path() / "share/talik");
    EXPECT_TRUE(IsInstalledProgramFolder(bin));
}

// An installed copy writes its data to the user's folder even when the user (root, in CI) could
// write in the program folder: the folder is shared by everyone on the machine.
TEST(InstalledCopy, KeepsItsDataInTheUsersFolderEvenWhenTheProgramFolderIsWritable)
{
    TempDir prefix;
    TempDir dataHome;
    fs::create_directories(prefix.path() / "bin");
    const std::string bin = prefix.str() + "/bin/";
    const char* old = std::getenv("XDG_DATA_HOME");
    std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("XDG_DATA_HOME", dataHome.str().c_str(), 1);

    EXPECT_EQ(WritableProgramFolder(bin), bin);
    fs::create_directories(prefix.path() / "share/talik");
    EXPECT_EQ(WritableProgramFolder(bin), dataHome.str() + "/talik/");
    EXPECT_TRUE(FolderExists(dataHome.str() + "/talik"));

    if (saved) {
        setenv("XDG_DATA_HOME", saved->c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace talik
