#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/envguard.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::EnvGuard;
using test::TempDir;

void Touch(const std::filesystem::path& file)
{
    test::WriteFileBytes(file, {'x'});
}

// The home folder the password database gives the user running the tests.
std::string PasswordHome()
{
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// A process without HOME: the variables that could stand in for it are unset as well.
class WithoutHome : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"HOME", "TALIK_WINDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            env.unset(name);
        }
        home = PasswordHome();
        ASSERT_FALSE(home.empty()) << "the test user has no entry in the password database";
    }

    EnvGuard env;
    std::string home;
};

// Removes, on the way out, the folders of a path that did not exist before (empty ones only).
class RemovesWhatItCreates
{
public:
    explicit RemovesWhatItCreates(const std::filesystem::path& deepest)
    {
        for (auto p = deepest; !std::filesystem::exists(p); p = p.parent_path()) {
            m_created.push_back(p);
        }
    }
    ~RemovesWhatItCreates()
    {
        std::error_code ec;
        for (const auto& p : m_created) {
            std::filesystem::remove(p, ec); // refuses a folder that is not empty
        }
    }

private:
    std::vector<std::filesystem::path> m_created;
};

TEST(FindFileNoCase, FindsAFileWhoseNameDiffersOnlyInCase)
{
    TempDir dir;
    Touch(dir.path() / "mrpdat01.qx1");
    EXPECT_EQ(FindFileNoCase(dir.str(), "MRPDAT01.QX1"), dir.str() + "/mrpdat01.qx1");
    EXPECT_EQ(FindFileNoCase(dir.str() + "/", "MrpDat01.Qx1"), dir.str() + "/mrpdat01.qx1");
    EXPECT_EQ(FindFileNoCase(dir.str(), "MRPDAT02.QX1"), std::nullopt);
    EXPECT_EQ(FindFileNoCase(dir.str() + "/missing", "MRPDAT01.QX1"), std::nullopt);
}

TEST(FindFileNoCase, ExactMatchWinsOverOtherSpellings)
{
    TempDir dir;
    Touch(dir.path() / "mrpdat01.qx1");
    Touch(dir.path() / "MRPDAT01.QX1");
    Touch(dir.path() / "Mrpdat01.Qx1");
    EXPECT_EQ(FindFileNoCase(dir.str(), "MRPDAT01.QX1"), dir.str() + "/MRPDAT01.QX1");
    EXPECT_EQ(FindFileNoCase(dir.str(), "mrpdat01.qx1"), dir.str() + "/mrpdat01.qx1");
    EXPECT_EQ(FindFileNoCase(dir.str(), "Mrpdat01.Qx1"), dir.str() + "/Mrpdat01.Qx1");
}

TEST(ResolveNoCase, GivesTheExistingSpellingOrTheBuiltPath)
{
    TempDir dir;
    Touch(dir.path() / "mrpdat01.qx1");
    EXPECT_EQ(ResolveNoCase(dir.str(), "MRPDAT01.QX1"), dir.str() + "/mrpdat01.qx1");
    EXPECT_EQ(ResolveNoCase(dir.str(), "MRPDAT01.QX2"), dir.str() + "/MRPDAT01.QX2");
    EXPECT_EQ(ResolveNoCase(dir.str() + "/", "MRPDAT01.QX2"), dir.str() + "/MRPDAT01.QX2");

    EXPECT_EQ(ResolvePathNoCase(dir.str() + "/MRPDAT01.QX1"), dir.str() + "/mrpdat01.qx1");
    EXPECT_EQ(ResolvePathNoCase(dir.str() + "/MRPDAT03.QX1"), dir.str() + "/MRPDAT03.QX1");
    EXPECT_EQ(ResolvePathNoCase(dir.str() + "/sub/MRPDAT01.QX1"), dir.str() + "/sub/MRPDAT01.QX1");
}

TEST(ProfileFolder, TalikWindirWinsOverTheConfigFolder)
{
    EnvGuard env;
    env.set("TALIK_WINDIR", "/srv/talik-win");
    env.set("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(ProfileFolder(), "/srv/talik-win");
}

TEST(ProfileFolder, FallsBackToTalikUnderTheConfigFolderThenHome)
{
    EnvGuard env;
    env.set("TALIK_WINDIR", ""); // empty counts as unset
    env.set("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(ProfileFolder(), "/srv/config/talik");

    env.unset("TALIK_WINDIR");
    env.unset("XDG_CONFIG_HOME");
    env.set("HOME", "/home/someone");
    EXPECT_EQ(ProfileFolder(), "/home/someone/.config/talik");
}

TEST_F(WithoutHome, TheHomeIsThePasswordDatabasesAndNeverAFolderInTmp)
{
    EXPECT_EQ(HomeFolder(), home);
    EXPECT_EQ(ProfileFolder(), home + "/.config/talik");

    RemovesWhatItCreates cleanup(home + "/.local/share/talik");
    std::string folder = WritableProgramFolder("/no-such-program-folder/"); // not writable, even for root
    EXPECT_EQ(folder, home + "/.local/share/talik/");
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(folder.starts_with("/tmp/"));

    env.set("HOME", "/home/someone");
    EXPECT_EQ(HomeFolder(), "/home/someone");
}

// Runs `folders` in a child process as a user the password database does not know, and gives back
// what it wrote to its standard output.
std::string AsUserWithoutAnEntry(const std::function<std::string()>& folders)
{
    constexpr uid_t Unknown = 54321;
    int pipeEnds[2];
    if (getpwuid(Unknown) != nullptr || pipe(pipeEnds) != 0) {
        return "no unknown user";
    }
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        std::string out = setuid(Unknown) == 0 ? folders() : "setuid failed";
        ssize_t written = write(pipeEnds[1], out.data(), out.size());
        _exit(written == static_cast<ssize_t>(out.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return out;
}

TEST_F(WithoutHome, AUserWithoutAnyHomeGetsFoldersOfItsOwnMadeByMkdtemp)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "only the administrator can run as another user";
    }
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    env.set("TMPDIR", dir.str());
    std::string folders = AsUserWithoutAnEntry(
        [] { return WritableProgramFolder("/no-such-program-folder/") + "\n" + ProfileFolder() + "/"; });
    // Each is talik/ in a new folder talik-XXXXXX of $TMPDIR, which only that user can enter.
    std::vector<std::filesystem::path> made;
    for (std::filesystem::path folder :
         {folders.substr(0, folders.find('\n')), folders.substr(folders.find('\n') + 1)}) {
        EXPECT_EQ(folder.filename(), "") << folders; // ends in "/"
        EXPECT_EQ(folder.parent_path().filename(), "talik") << folders;
        made.push_back(folder.parent_path().parent_path());
    }
    EXPECT_NE(made[0], made[1]);
    for (const auto& folder : made) {
        EXPECT_EQ(folder.parent_path(), dir.path());
        EXPECT_TRUE(folder.filename().string().starts_with("talik-")) << folder;
        struct stat st
        {
        };
        ASSERT_EQ(lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, 54321u);
    }
}

TEST(MakePrivateFolder, MakesANewFolderOnlyThisUserCanEnterEachTime)
{
    TempDir dir;
    EnvGuard env;
    env.set("TMPDIR", dir.str() + "/");
    auto first = MakePrivateFolder();
    auto second = MakePrivateFolder();
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    for (const std::string& folder : {*first, *second}) {
        EXPECT_EQ(std::filesystem::path(folder).parent_path(), dir.path());
        struct stat st
        {
        };
        ASSERT_EQ(lstat(folder.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, getuid());
    }

    env.set("TMPDIR", dir.str() + "/no-such-folder");
    EXPECT_EQ(MakePrivateFolder(), std::nullopt);
}

TEST(WritableProgramFolder, KeepsAWritableProgramFolder)
{
    TempDir dir;
    EXPECT_EQ(WritableProgramFolder(dir.str()), dir.str() + "/");
    EXPECT_EQ(WritableProgramFolder(dir.str() + "/"), dir.str() + "/");
}

TEST(WritableProgramFolder, FallsBackToTheDataFolderAndCreatesIt)
{
    TempDir dir;
    EnvGuard env;
    env.set("XDG_DATA_HOME", dir.str() + "/share");
    // A folder that does not exist is not writable, even for root.
    std::string folder = WritableProgramFolder(dir.str() + "/no-such-program-folder/");
    EXPECT_EQ(folder, dir.str() + "/share/talik/");
    EXPECT_TRUE(FolderExists(folder));
}

} // namespace
} // namespace talik
