// talikcli import run for real as a child process on a database in a temporary folder.
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

// The export's header line and a record line in CP932, written byte by byte.
const std::string HeaderCp932 = "\"\x83\x4A\x83\x69\x96\xBC\",\"\x8A\xBF\x8E\x9A\x96\xBC\",\"E-Mail\"\r\n";
const std::string YamadaCp932 = "\"\xD4\xCF\xC0\xDE\",\"\x8E\x52\x93\x63\"\"\x91\xBE\x98\x59\",\"t@example.jp\","
                                "\"1965/04/12\"\r\n"; // ﾔﾏﾀﾞ, 山田"太郎 (quote doubled)

class CliImportTest : public test::CliFixture
{
protected:
    std::string csv(const std::string& bytes)
    {
        std::string path = files.str() + "/in.csv";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string show(int recNo)
    {
        test::ProgramRun run = cli({"show", std::to_string(recNo)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    TempDir files;
};

TEST_F(CliImportTest, ImportsAnExportedFileAndPrintsTheWindowsTexts)
{
    std::string file = csv(HeaderCp932 + YamadaCp932 + "\"\",\"\x96\xBC\x96\xB3\x82\xB5\"\r\n");
    test::ProgramRun run = cli({"import", file, "--skip-first", "--check", "3,7"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, file + " から\nＣＳＶデータを取込んでもよろしいですか？ → はい\n"
                              "1 件のデータを取込みました。\n1 件はフリガナなしで取込めませんでした。（3 行目）\n");
    std::string record = show(2);
    EXPECT_NE(record.find("\"KanaName\": \"ﾔﾏﾀﾞ\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"KanjiName\": \"山田\\\"太郎\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"EMail\": \"t@example.jp\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"Birthday\": 19650412"), std::string::npos) << record;
    EXPECT_NE(record.find("\"CheckItems\": \"  1   1        \""), std::string::npos) << record;
    EXPECT_EQ(cli({"count"}).out, "1\n");
}

TEST_F(CliImportTest, AShortMapLeavesTheRemainingSlotsEmpty)
{
    std::string file = csv("\xB1,\x96\xBC,x@y,1965/04/12\r\n"); // ｱ,名,...
    test::ProgramRun run = cli({"import", file, "--map=1,3"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string record = show(2);
    EXPECT_NE(record.find("\"KanjiName\": \"x@y\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"EMail\": \"\""), std::string::npos) << record;
    EXPECT_NE(record.find("\"Birthday\": 0"), std::string::npos) << record;
}

TEST_F(CliImportTest, Utf8ReadingsTurnHalfWidthWithHalfKana)
{
    std::string file = csv("\"やまだ\",\"山田\"\n");
    EXPECT_EQ(cli({"import", file, "--half-kana"}).exitCode, 0);
    EXPECT_NE(show(2).find("\"KanaName\": \"ﾔﾏﾀﾞ\""), std::string::npos);
    // Read as Shift-JIS, the same bytes are other characters.
    EXPECT_EQ(cli({"import", file, "--encoding", "cp932"}).exitCode, 0);
    EXPECT_EQ(show(3).find("山田"), std::string::npos);
}

TEST_F(CliImportTest, AFileWithNulBytesIsRefusedAndNothingIsWritten)
{
    std::string file = csv(std::string("\"\xB1\",\"a\0b\"\r\n", 11));
    test::ProgramRun run = cli({"import", file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.rfind("ＣＳＶファイルとして読めません。", 0), 0u) << run.err;
    EXPECT_FALSE(std::filesystem::exists(data.path() / "MRPDAT01.QX1"));
}

TEST_F(CliImportTest, UsageErrorsImportNothing)
{
    std::string file = csv(YamadaCp932);
    EXPECT_EQ(cli({"import"}).exitCode, 2);
    EXPECT_EQ(cli({"import", file, "--map", "0,1"}).exitCode, 2); // the reading is required
    EXPECT_EQ(cli({"import", file, "--encoding", "latin1"}).exitCode, 2);
    EXPECT_EQ(cli({"import", file, "--check", "16"}).exitCode, 2);
    EXPECT_EQ(cli({"import", file, "--map", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"}).exitCode, 2);
    EXPECT_EQ(cli({"import", file, "other.csv"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(data.path() / "MRPDAT01.QX1"));
    EXPECT_EQ(cli({"import", files.str() + "/missing.csv"}).exitCode, 1);
}

TEST_F(CliImportTest, WhatTheExportWritesTheImportBringsBackWhole)
{
    // Added in reading order, so the export (by reading) gives the same record numbers back. Their
    // numbers in FAX fields are labelled FAX, as the import labels them (the file has no kinds).
    const std::vector<std::vector<std::string>> people = {
        {"--KanaName=ｱｵｷ ﾀﾛｳ", "--KanjiName=青木 \"太郎\"", "--EMail=aoki@example.jp", "--PostCode1=100-0001",
         "--Address1=東京都千代田区千代田１－１", "--Tel1=03-1234-5678", "--Fax1=03-1234-5679",
         "--Company=商事, 株式会社", "--Department=営業部", "--Remarks=旧姓：山本", "--ClassCode=友人",
         "--PhoneKinds=100"},
        {"--KanaName=ｶﾄｳ", "--KanjiName=加藤", "--PostCode2=600-8216", "--Address2=京都府京都市", "--Tel2=075-000-0000",
         "--Fax2=075-000-0001", "--PhoneKinds=1"},
    };
    for (const auto& person : people) {
        std::vector<std::string> args{"add"};
        args.insert(args.end(), person.begin(), person.end());
        ASSERT_EQ(cli(args).exitCode, 0);
    }
    const std::string file = files.str() + "/all.csv";
    test::ProgramRun exported = cli({"export", "--out", file});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    test::ProgramRun imported = cli({"--db", "2", "import", file, "--skip-first"});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    // Everything comes back but the identity: an imported record is a new one.
    const std::regex identity("\"Id\": \"[^\"]*\"");
    for (int recNo : {2, 3}) {
        test::ProgramRun second = cli({"--db", "2", "show", std::to_string(recNo)});
        EXPECT_NE(second.out, show(recNo)) << recNo;
        EXPECT_EQ(std::regex_replace(second.out, identity, ""), std::regex_replace(show(recNo), identity, "")) << recNo;
    }
}

} // namespace
} // namespace talik
