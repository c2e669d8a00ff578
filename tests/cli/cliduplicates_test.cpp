// talikcli run for real: joined columns and header lines in import, a person met twice, and the
// duplicate commands duplicates, merge, not-duplicate and unmerge.
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

class CliDuplicatesTest : public test::CliFixture
{
protected:
    std::string csv(const std::string& utf8)
    {
        std::string path = files.str() + "/in" + std::to_string(++m_files) + ".csv";
        std::ofstream(path, std::ios::binary) << utf8;
        return path;
    }
    std::string show(int recNo)
    {
        test::ProgramRun run = cli({"show", std::to_string(recNo)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }
    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    test::TempDir files;
    int m_files = 0;
};

TEST_F(CliDuplicatesTest, MapJoinsColumnsInTheOrderGiven)
{
    std::string file = csv("山田,太郎,ﾔﾏﾀﾞ,ﾀﾛｳ,東京都,新宿区新宿1-1\r\n佐藤,,ｻﾄｳ,,,大阪市\r\n");
    test::ProgramRun run = cli({"import", file, "--encoding", "utf-8", "--map", "3+4,1+2,0,0,0,0,5+6"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string first = show(2);
    EXPECT_TRUE(Has(first, "\"KanaName\": \"ﾔﾏﾀﾞ ﾀﾛｳ\"")) << first;
    EXPECT_TRUE(Has(first, "\"KanjiName\": \"山田 太郎\"")) << first;
    EXPECT_TRUE(Has(first, "\"Address1\": \"東京都新宿区新宿1-1\"")) << first;
    std::string second = show(3);
    EXPECT_TRUE(Has(second, "\"KanjiName\": \"佐藤\"")) << second;
    EXPECT_TRUE(Has(second, "\"Address1\": \"大阪市\"")) << second;
    EXPECT_EQ(cli({"import", file, "--map", "1+2+3+4+5"}).exitCode, 2);
    EXPECT_EQ(cli({"import", file, "--map", "1+"}).exitCode, 2);
}

TEST_F(CliDuplicatesTest, MapAutoReadsTheHeaderSkipsItAndTellsTheMapping)
{
    std::string file = csv("Given Name,Family Name,Given Name Yomi,Family Name Yomi,E-mail 1 - Value\r\n"
                           "Taro,Yamada,ﾀﾛｳ,ﾔﾏﾀﾞ,taro@example.jp\r\n");
    test::ProgramRun run = cli({"import", file, "--map", "auto"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Has(run.err, "カナ名 <- 4+3 (Family Name Yomi+Given Name Yomi)\n")) << run.err;
    EXPECT_TRUE(Has(run.err, "漢字名 <- 2+1 (Family Name+Given Name)\n")) << run.err;
    EXPECT_TRUE(Has(run.err, "E-Mail <- 5 (E-mail 1 - Value)\n")) << run.err;
    EXPECT_EQ(cli({"count"}).out, "1\n");
    EXPECT_TRUE(Has(show(2), "\"KanjiName\": \"Yamada Taro\""));
    // A first line that is data is no header to read.
    test::ProgramRun data = cli({"import", csv("ﾔﾏﾀﾞ,山田\r\n"), "--map", "auto"});
    EXPECT_EQ(data.exitCode, 2);
    EXPECT_EQ(cli({"count"}).out, "1\n");
}

TEST_F(CliDuplicatesTest, OnDuplicateSkipAndFill)
{
    std::string first = csv("ﾔﾏﾀﾞ ﾀﾛｳ,山田 太郎,taro@example.jp\r\n");
    std::string again = csv("ヤマダ タロウ,山田太郎,taro@EXAMPLE.jp,東京都新宿区新宿1-1\r\n");
    const std::string map = "1,2,3,0,0,0,4";
    ASSERT_EQ(cli({"import", first, "--encoding", "utf-8", "--map", map}).exitCode, 0);
    test::ProgramRun skip = cli({"import", again, "--encoding", "utf-8", "--map", map, "--on-duplicate", "skip"});
    EXPECT_EQ(skip.exitCode, 0) << skip.err;
    EXPECT_TRUE(Has(skip.err, "1 件は登録済みの人と同じため取込みませんでした。（1 行目）")) << skip.err;
    EXPECT_EQ(cli({"count"}).out, "1\n");
    test::ProgramRun fill = cli({"import", again, "--encoding", "utf-8", "--map", map, "--on-duplicate", "fill"});
    EXPECT_EQ(fill.exitCode, 0) << fill.err;
    EXPECT_EQ(cli({"count"}).out, "1\n");
    EXPECT_TRUE(Has(show(2), "\"Address1\": \"東京都新宿区新宿1-1\""));
    EXPECT_EQ(cli({"import", again, "--map", map, "--on-duplicate", "merge"}).exitCode, 2);
    test::ProgramRun add = cli({"import", again, "--encoding", "utf-8", "--map", map});
    EXPECT_TRUE(Has(add.err, "内 1 件は登録済みの人と同じと見られますが、新しく取込みました。")) << add.err;
    EXPECT_EQ(cli({"count"}).out, "2\n");
}

TEST_F(CliDuplicatesTest, DuplicatesMergeUnmergeAndNotDuplicate)
{
    add({"--KanaName=ﾔﾏﾀﾞ ﾀﾛｳ", "--KanjiName=山田 太郎", "--Tel2=090-1234-5678"});
    add({"--KanaName=ｽｽﾞｷ", "--KanjiName=鈴木"});
    add({"--KanaName=やまだ たろう", "--KanjiName=山田太郎", "--Tel2=+81 90 1234 5678",
         "--Address1=東京都新宿区新宿1-1"});
    test::ProgramRun found = cli({"duplicates"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    EXPECT_EQ(found.out, "2\t4\t100\t携帯電話・読み・氏名\n");
    EXPECT_EQ(cli({"duplicates", "--min-score", "101"}).exitCode, 2);

    test::ProgramRun merged = cli({"merge", "2", "4"});
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(merged.out, "2\n");
    EXPECT_EQ(cli({"count"}).out, "2\n");
    EXPECT_TRUE(Has(show(2), "\"Address1\": \"東京都新宿区新宿1-1\""));
    EXPECT_EQ(cli({"duplicates"}).out, "");
    EXPECT_EQ(cli({"merge", "2", "4"}).exitCode, 1);

    test::ProgramRun back = cli({"unmerge", "2"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, "4\n");
    EXPECT_TRUE(Has(show(2), "\"Address1\": \"\""));
    EXPECT_EQ(cli({"unmerge", "2"}).exitCode, 1);

    ASSERT_EQ(cli({"not-duplicate", "4", "2"}).exitCode, 0);
    EXPECT_EQ(cli({"duplicates", "--min-score", "0"}).out, "");
    EXPECT_EQ(cli({"not-duplicate", "2", "99"}).exitCode, 1);

    // Merged all the same, B's values preferred; one number written two ways is no difference.
    ASSERT_EQ(cli({"update", "2", "--Company=甲商事"}).exitCode, 0);
    ASSERT_EQ(cli({"update", "4", "--Company=乙商事"}).exitCode, 0);
    test::ProgramRun preferB = cli({"merge", "2", "4", "--prefer", "B"});
    ASSERT_EQ(preferB.exitCode, 0) << preferB.err;
    std::string record = show(2);
    EXPECT_TRUE(Has(record, "\"Company\": \"乙商事\"")) << record;
    EXPECT_TRUE(Has(record, "\"Tel2\": \"090-1234-5678\"")) << record;
    EXPECT_TRUE(Has(record, "\"RemarksExtra\": \"統合時の別の値: 甲商事\"")) << record;
}

} // namespace
} // namespace talik
