// talikcli export and import of vCard files run for real, and the exported file read by a vCard
// reader that other programs use (Debian's python3-vobject; skipped where it is not installed).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

class CliVcardTest : public test::CliFixture
{
protected:
    std::string write(const std::string& name, const std::string& bytes)
    {
        std::string path = files.str() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string show(int recNo)
    {
        test::ProgramRun run = cli({"show", std::to_string(recNo)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }
    void addYamada()
    {
        add({"--KanaName=ﾔﾏﾀﾞ ﾀﾛｳ", "--KanjiName=山田　太郎", "--EMail=taro@example.jp", "--Tel1=03-1234-5678",
             "--Address1=東京都千代田区丸の内1-2-3", "--PostCode1=100-0005", "--Company=山田商事",
             "--Department=営業部", "--Remarks=備考です", "--ClassCode=A01", "--Birthday=19650203"});
    }

    TempDir files;
};

bool HaveVobject()
{
    TempDir capture;
    return test::RunProgram({"/usr/bin/python3", "-c", "import vobject"}, capture.path()).exitCode == 0;
}

TEST_F(CliVcardTest, ExportThenImportRecreatesTheRecord)
{
    addYamada();
    const std::string out = files.str() + "/out.vcf";
    test::ProgramRun run = cli({"export", "--format", "vcard", "--vcard-version", "4", "--out", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(read(out).find("X-PHONETIC-LAST-NAME:ヤマダ\r\n"), std::string::npos) << read(out);
    EXPECT_NE(read(out).find("VERSION:4.0\r\n"), std::string::npos);

    // Without --format the first line tells that the file is a vCard file.
    run = cli({"import", out, "--check", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, out + " から\nvCardデータを取込んでもよろしいですか？ → はい\n1 件のデータを取込みました。\n");
    const std::string first = show(2);
    const std::string second = show(3);
    for (const char* field : {"\"KanaName\": \"ﾔﾏﾀﾞ ﾀﾛｳ\"", "\"KanjiName\": \"山田　太郎\"", "\"Birthday\": 19650203",
                              "\"ClassCode\": \"A01\"", "\"Address1\": \"東京都千代田区丸の内1-2-3\""}) {
        EXPECT_NE(first.find(field), std::string::npos) << first;
        EXPECT_NE(second.find(field), std::string::npos) << second;
    }
    EXPECT_NE(second.find("\"CheckItems\": \" 1             \""), std::string::npos) << second;
}

TEST_F(CliVcardTest, AFileThatIsNoVcardIsRefusedWithNothingImported)
{
    addYamada();
    const std::string csv = write("in.csv", "\"ｱ\",\"名\"\r\n");
    test::ProgramRun run = cli({"import", csv, "--format", "vcard"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("vCardファイルではありません。"), std::string::npos) << run.err;
    EXPECT_EQ(cli({"count"}).out, "1\n");
    EXPECT_EQ(cli({"export", "--format", "vcf", "--out", files.str() + "/x"}).exitCode, 2);
    EXPECT_EQ(cli({"export", "--format", "vcard", "--vcard-version", "5", "--out", files.str() + "/x"}).exitCode, 2);
}

// The exported file as another program reads it: every card parses, and the name, the reading, the
// numbers and the long Japanese note come out as written.
TEST_F(CliVcardTest, AnotherVcardReaderReadsTheExport)
{
    if (!HaveVobject()) {
        GTEST_SKIP() << "python3-vobject is not installed";
    }
    addYamada();
    // Remarks that fill their 60 bytes make a NOTE line longer than 75 octets: it is folded.
    add({"--KanaName=ｽｽﾞｷ", "--KanjiName=鈴木, 一郎; 他",
         "--Remarks=長い備考長い備考長い備考長い備考長い備考長い備考長い備考です"});
    const std::string script = R"(
import sys, vobject
cards = list(vobject.readComponents(open(sys.argv[1], encoding='utf-8', newline='').read()))
for card in cards:
    print(card.fn.value)
    print(card.x_phonetic_last_name.value)
    print('N', card.n.value.family, '/', card.n.value.given)
    if hasattr(card, 'note'): print('NOTE', card.note.value)
    for tel in card.contents.get('tel', []): print('TEL', tel.value, ','.join(tel.params['TYPE']))
)";
    for (const char* version : {"3", "4"}) {
        SCOPED_TRACE(version);
        const std::string out = files.str() + "/out" + version + ".vcf";
        ASSERT_EQ(cli({"export", "--format", "vcard", "--vcard-version", version, "--out", out}).exitCode, 0);
        EXPECT_NE(read(out).find("\r\n "), std::string::npos) << read(out);
        TempDir capture;
        test::ProgramRun run = test::RunProgram({"/usr/bin/python3", "-c", script, out}, capture.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "鈴木, 一郎; 他\nスズキ\nN 鈴木, / 一郎; 他\n"
                           "NOTE 長い備考長い備考長い備考長い備考長い備考長い備考長い備考です\n"
                           "山田　太郎\nヤマダ\nN 山田 / 太郎\nNOTE 備考です\nTEL 03-1234-5678 home,voice\n");
    }
}

} // namespace
} // namespace talik
