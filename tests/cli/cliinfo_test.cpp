// talikcli --help and --version: answered before any settings or database are looked at.
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"

namespace talik {
namespace {

class CliInfoTest : public test::CliFixture
{
protected:
    test::ProgramRun run(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv = {TALIKCLI_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::RunProgram(argv, capture.path());
    }
};

TEST_F(CliInfoTest, VersionAndHelpGoToStandardOutputAndSucceed)
{
    test::ProgramRun version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "talikcli 7.01\n");
    EXPECT_EQ(version.err, "");

    test::ProgramRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("使い方: talikcli")) << help.out;
    EXPECT_NE(help.out.find("count"), std::string::npos);
    EXPECT_EQ(help.err, "");
}

TEST_F(CliInfoTest, InsideACommandLineTheyAreUsageErrorsAsBefore)
{
    // "--version" as a command's argument is that command's business, not a request for the version.
    test::ProgramRun run1 = cli({"count", "--version"});
    EXPECT_EQ(run1.exitCode, 2);
    EXPECT_EQ(run1.out, "");
    test::ProgramRun run2 = run({"--version", "count"});
    EXPECT_EQ(run2.exitCode, 2);
}

} // namespace
} // namespace talik
