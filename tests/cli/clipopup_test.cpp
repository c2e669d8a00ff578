// talikcli copy, delete-all and mail-url, run as a user runs them.
#include <fstream>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"

namespace talik::test {
namespace {

class CliPopupTest : public CliFixture
{
};

TEST_F(CliPopupTest, CopyWritesTheClipboardTextOfTheChosenSetting)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田", "--Address1=東京都", "--Birthday=19650412"});
    std::ofstream(profile.path() / "QXSCH.INI")
        << "[System]\r\nDBPathAddr=" << data.str() << "\r\n[Copy_Setting_00]\r\nParm01=010204\r\nParm02=02\r\n";
    ProgramRun first = cli({"copy", "2"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "東京都\r\n山田\r\n"); // setting 1 keeps its default "020702"
    EXPECT_EQ(cli({"copy", "2", "--setting", "2"}).out, "山田 1965/04/12");
    EXPECT_EQ(cli({"copy", "--setting=3", "2"}).exitCode, 1); // a definition without items
    EXPECT_EQ(cli({"copy", "9"}).exitCode, 1);
    EXPECT_EQ(cli({"copy", "2", "--setting", "5"}).exitCode, 2);
    EXPECT_EQ(cli({"copy"}).exitCode, 2);
}

TEST_F(CliPopupTest, DeleteAllAsksOnStandardErrorAndEmptiesTheDatabase)
{
    add({"--KanaName=ｱ"});
    add({"--KanaName=ｲ"});
    ProgramRun run = cli({"delete-all"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("選択されているデータベースの全件を削除します。"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"count"}).out, "0\n");
    EXPECT_EQ(std::filesystem::file_size(data.path() / "MRPDAT01.QX1"), 600u);
    EXPECT_EQ(add({"--KanaName=ｳ"}), "2\n");
}

TEST_F(CliPopupTest, MailUrlListsTheAddressesInTheGivenOrder)
{
    add({"--KanaName=ｱ", "--EMail=a&b@x.jp"});
    add({"--KanaName=ｲ"});
    add({"--KanaName=ｳ", "--EMail=u@x.jp;v@x.jp"});
    ProgramRun run = cli({"mail-url", "--records", "4,3,2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "mailto:u@x.jp,v@x.jp,a%26b@x.jp\n");
    EXPECT_NE(run.err.find("E-Mailアドレスが入力されていない方がいますが続けますか？"), std::string::npos);

    ProgramRun blank = cli({"mail-url", "--records=3"});
    EXPECT_EQ(blank.exitCode, 1);
    EXPECT_NE(blank.err.find("E-Mailアドレスがすべて入力されていません。"), std::string::npos) << blank.err;
    EXPECT_EQ(cli({"mail-url"}).exitCode, 2);
    EXPECT_EQ(cli({"mail-url", "--records", "2,x"}).exitCode, 2);
}

} // namespace
} // namespace talik::test
