#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

// Sets or unsets environment variables for one test and puts the old values back afterwards.
class EnvGuard
{
public:
    ~EnvGuard()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }
    void set(const std::string& name, const std::string& value)
    {
        save(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
    void unset(const std::string& name)
    {
        save(name);
        unsetenv(name.c_str());
    }

private:
    void save(const std::string& name)
    {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

void Touch(const std::filesystem::path& file)
{
    test::WriteFileBytes(file, {'x'});
}

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
