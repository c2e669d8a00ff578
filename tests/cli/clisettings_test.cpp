// talikcli settings run for real: one key of the mode's section read or changed, every other byte
// of the file kept, and the dialog's rules for the keys it checks.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"

namespace talik {
namespace {

class CliSettingsTest : public test::CliFixture
{
protected:
    CliSettingsTest()
    {
        // CP932 "住所" in a value, a comment and another mode's section must all stay as they are.
        std::ofstream(ini(), std::ios::binary)
            << "; comment\r\n[System]\r\nComPort=2\r\nFromName=\x8F\x5A\x8F\x8A\r\n\r\n[System_03]\r\nComPort=4\r\n";
    }
    std::string ini() const { return profile.str() + "/QXSCH.INI"; }
    std::string iniBytes() const
    {
        auto bytes = test::ReadFileBytes(ini());
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(CliSettingsTest, GetReadsTheModesSection)
{
    test::ProgramRun run = cli({"settings", "get", "comport"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "2\n");
    run = cli({"--mode", "3", "settings", "get", "ComPort"});
    EXPECT_EQ(run.out, "4\n");
    EXPECT_EQ(cli({"settings", "get", "FromName"}).out, "住所\n");
    EXPECT_EQ(cli({"settings", "get", "Missing"}).exitCode, 1);
    EXPECT_EQ(cli({"settings", "get"}).exitCode, 2);
}

TEST_F(CliSettingsTest, SetChangesThatKeyAloneByteForByte)
{
    const std::string before = iniBytes();
    test::ProgramRun run = cli({"settings", "set", "ComPort", "5"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string expected = before;
    expected.replace(expected.find("ComPort=2"), 9, "ComPort=5");
    EXPECT_EQ(iniBytes(), expected);

    run = cli({"settings", "set", "ComExtTel", "--0,"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(cli({"settings", "get", "ComExtTel"}).out, "--0,\n");
}

TEST_F(CliSettingsTest, RefusedValuesLeaveTheFileUnchanged)
{
    const std::string before = iniBytes();
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"ComPort", "6"},
             {"ComPort", "x"},
             {"ListFontSize", "."},
             {"ListFontSize", ""},
             {"DBPathAddr", data.str() + "/missing"},
             {"DBPathAddr", "relative"},
             {"FromName", "😀"},
         }) {
        test::ProgramRun run = cli({"settings", "set", key, value});
        EXPECT_EQ(run.exitCode, 1) << key << "=" << value;
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(iniBytes(), before);
}

TEST_F(CliSettingsTest, CheckedKeysAreStoredAsTheDialogStoresThem)
{
    EXPECT_EQ(cli({"settings", "set", "ListFontSize", "3"}).exitCode, 0);
    EXPECT_EQ(cli({"settings", "get", "ListFontSize"}).out, "6\n");
    EXPECT_EQ(cli({"settings", "set", "DBPathAddr", data.str() + "/"}).exitCode, 0);
    EXPECT_EQ(cli({"settings", "get", "DBPathAddr"}).out, data.str() + "\n");
    EXPECT_EQ(cli({"settings", "set", "DBPathAddr", ""}).exitCode, 0);
    EXPECT_EQ(cli({"settings", "get", "DBPathAddr"}).out, "*\n");
}

} // namespace
} // namespace talik
