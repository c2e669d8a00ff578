// talikcli print takes its job from the list to the table in memory: no work file in the
// settings folder or the temporary folder, and no need for a temporary folder it can write.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "tests/cli/clifixture.h"
#include "tests/support/envguard.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

namespace fs = std::filesystem;

class CliPrintMemoryTest : public test::CliFixture
{
protected:
    void SetUp() override
    {
        add({"--KanaName=ｱｵｷ", "--KanjiName=青木", "--Address1=東京都渋谷区渋谷2-21-1"});
        add({"--KanaName=ｲﾉｳｴ", "--KanjiName=井上", "--Address1=石川県金沢市"});
    }

    bool printed(const std::string& kind, const std::string& file)
    {
        test::ProgramRun run = cli({"print", kind, "--out", (output.path() / file).string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.exitCode == 0 && fs::file_size(output.path() / file) > 0;
    }

    test::TempDir output;
};

TEST_F(CliPrintMemoryTest, PrintsWhenTheTemporaryFolderCannotBeWritten)
{
    // The temporary folder of the programs this test starts.
    test::EnvGuard missing("TMPDIR", (output.path() / "no-such-folder").string());
    EXPECT_TRUE(printed("labels", "labels.pdf"));
    EXPECT_TRUE(printed("list", "list.pdf"));
}

TEST_F(CliPrintMemoryTest, LeavesNoWorkFileAnywhere)
{
    test::TempDir temporary;
    test::EnvGuard children("TMPDIR", temporary.str());
    ASSERT_TRUE(printed("labels", "labels.pdf"));
    // (Qt may make its runtime folder there; nothing of the job's may be left.)
    for (const auto& entry : fs::recursive_directory_iterator(temporary.path())) {
        EXPECT_EQ(entry.path().filename().string().find("PrintWK"), std::string::npos) << entry.path();
        EXPECT_EQ(entry.path().filename().string().find("talikcli"), std::string::npos) << entry.path();
    }
    EXPECT_FALSE(fs::exists(profile.path() / "^PrintWK.QXS"));
    EXPECT_FALSE(fs::exists(data.path() / "^PrintWK.QXS"));
}

} // namespace
} // namespace talik
