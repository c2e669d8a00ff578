// talikcli import of files an import cannot hold: a device that never ends and a file larger than
// the memory the program may have (its address space limited with prlimit, as a small machine
// would). Each is refused with a message naming the file, and nothing is stored.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* PrlimitPath = "/usr/bin/prlimit";
constexpr const char* AddressSpace = "--as=1073741824"; // 1 GiB

class CliImportSourceTest : public CliFixture
{
protected:
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "under AddressSanitizer the program reserves more address space than the limit leaves";
#endif
        if (::access(PrlimitPath, X_OK) != 0) {
            GTEST_SKIP() << "prlimit is not installed";
        }
        add({"--KanaName=ｱｲ"});
    }

    ProgramRun limitedImport(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv = {PrlimitPath,   AddressSpace, "/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0",
                                         TALIKCLI_PATH, "--data",     data.str(),     "import"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProgram(argv, capture.path());
    }

    std::string count()
    {
        return cli({"count"}).out;
    }
};

TEST_F(CliImportSourceTest, ADeviceOrALinkToOneIsRefusedByName)
{
    fs::create_symlink("/dev/zero", data.path() / "zero.csv");
    for (const std::string& file : {std::string("/dev/zero"), (data.path() / "zero.csv").string()}) {
        for (const char* format : {"csv", "vcard"}) {
            SCOPED_TRACE(file + " as " + format);
            ProgramRun run = limitedImport({file, "--format", format});
            EXPECT_EQ(run.exitCode, 1) << run.err;
            EXPECT_NE(run.err.find(file + "\nは通常のファイルではないため取込めません。"), std::string::npos)
                << run.err;
        }
    }
    EXPECT_EQ(count(), "1\n");
}

// A sparse file of 2 GiB of nothing: larger than the program may hold, told as such.
TEST_F(CliImportSourceTest, AFileLargerThanTheMemoryIsToldNotEndedWith)
{
    fs::path big = data.path() / "big.csv";
    std::ofstream(big).put('x');
    fs::resize_file(big, 2LL << 30);
    ProgramRun run = limitedImport({big.string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find(big.string() + "\nは大きすぎて読み込めません（メモリーが足りません）。"), std::string::npos)
        << run.err;
    EXPECT_EQ(count(), "1\n");
}

} // namespace
} // namespace talik::test
