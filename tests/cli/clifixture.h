#pragma once
// What every test of talikcli starts from: an empty data folder, a settings folder of the test's
// own (never the user's) and talikcli run for real as a child process, no shell in between.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik::test {

class CliFixture : public ::testing::Test
{
protected:
    CliFixture() { setenv("TALIK_WINDIR", profile.str().c_str(), 1); }
    ~CliFixture() override { unsetenv("TALIK_WINDIR"); }

    // Runs talikcli with `--data <data folder>` and `args`; standard input from `input`.
    ProgramRun cli(const std::vector<std::string>& args, const std::filesystem::path& input = "/dev/null")
    {
        std::vector<std::string> argv = {TALIKCLI_PATH, "--data", data.str()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProgram(argv, capture.path(), input);
    }

    // Adds an address; what talikcli printed (its record number).
    std::string add(const std::vector<std::string>& fields)
    {
        std::vector<std::string> args = {"add"};
        args.insert(args.end(), fields.begin(), fields.end());
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    TempDir data;
    TempDir capture;
    TempDir profile;
};

} // namespace talik::test
