// An installed address book finds its dialler on PATH when it is not beside it.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "dial/dialrequest.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class DiallerOnPath : public ::testing::Test
{
protected:
    DiallerOnPath()
    {
        const char* old = std::getenv("PATH");
        m_savedPath = old ? std::optional<std::string>(old) : std::nullopt;
        fs::create_directories(onPath.path() / "bin");
        setenv("PATH", (onPath.str() + "/bin").c_str(), 1);
    }
    ~DiallerOnPath() override
    {
        if (m_savedPath) {
            setenv("PATH", m_savedPath->c_str(), 1);
        } else {
            unsetenv("PATH");
        }
    }
    static fs::path makeProgram(const fs::path& file)
    {
        test::WriteFileBytes(file, {'#', '!'});
        fs::permissions(file, fs::perms::owner_all);
        return file;
    }

    TempDir programFolder;
    TempDir onPath;

private:
    std::optional<std::string> m_savedPath;
};

TEST_F(DiallerOnPath, TheOneBesideTheAddressBookComesFirstThenTheOneOnPath)
{
    const std::string folder = programFolder.str() + "/";
    EXPECT_EQ(FindDialler(folder), std::nullopt);
    fs::path installed = makeProgram(onPath.path() / "bin/Talikad2");
    EXPECT_EQ(FindDialler(folder), installed.string());
    fs::path beside = makeProgram(programFolder.path() / "TALIKAD2");
    EXPECT_EQ(FindDialler(folder), beside.string());
}

} // namespace
} // namespace talik
