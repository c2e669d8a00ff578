// talikcli export --safe: formulas quoted for spreadsheets; without it the file is unchanged.
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class CliExportSafeTest : public CliFixture
{
protected:
    std::string exported(const std::vector<std::string>& extra)
    {
        std::vector<std::string> args = {"export", "--out", out, "--encoding", "utf-8"};
        args.insert(args.end(), extra.begin(), extra.end());
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        auto bytes = ReadFileBytes(out);
        return {bytes.begin(), bytes.end()};
    }
    std::string out = capture.str() + "/out.csv";
};

TEST_F(CliExportSafeTest, SafeQuotesFormulasAndTheDefaultKeepsThem)
{
    add({"--KanaName=ｱｲ", "--KanjiName==1+2", "--Tel1=+81-3-1234"});
    const std::string plain = exported({});
    const std::string safe = exported({"--safe"});
    EXPECT_NE(plain.find("\"=1+2\""), std::string::npos) << plain;
    EXPECT_NE(safe.find("\"'=1+2\""), std::string::npos) << safe;
    EXPECT_NE(safe.find("\"+81-3-1234\""), std::string::npos) << safe;
    EXPECT_EQ(safe.size(), plain.size() + 1);
}

} // namespace
} // namespace talik::test
