// talikcli run for real as a child process on a database in a temporary folder.
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

using test::TempDir;

using CliRun = test::ProgramRun;

class CliTest : public test::CliFixture
{
protected:
    CliRun spawn(const std::vector<std::string>& args) { return test::RunProgram(args, capture.path()); }

    std::filesystem::path mainFile(const char* name = "MRPDAT01.QX1") const { return data.path() / name; }

    // Sets the password "AB" on database 1, written as the stored form with salt digit 7: k, the
    // digit count, then the digits "4142" + k.
    void protectWithPasswordAB()
    {
        auto bytes = test::ReadFileBytes(mainFile());
        ASSERT_GE(bytes.size(), 360u);
        const std::array<std::uint8_t, 6> stored = {0x07, 0x04, 0x0B, 0x08, 0x0B, 0x09};
        std::fill(bytes.begin() + 330, bytes.begin() + 360, ' ');
        std::copy(stored.begin(), stored.end(), bytes.begin() + 330);
        test::WriteFileBytes(mainFile(), bytes);
    }
};

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

TEST_F(CliTest, AddPrintsTheNewRecordNumberStartingAtTwo)
{
    EXPECT_EQ(add({"--KanaName=ﾔﾏﾀﾞ"}), "2\n");
    EXPECT_EQ(add({"--KanaName=ｽｽﾞｷ"}), "3\n");
    EXPECT_EQ(cli({"count"}).out, "2\n");
}

TEST_F(CliTest, ShowGivesEveryFieldByNameAndTheReadingIsKeptInHalfWidthKana)
{
    ASSERT_EQ(add({"--KanaName=やまだ", "--KanjiName=山田 太郎", "--Birthday=19650203", "--EMail=taro@example.jp"}),
              "2\n");
    CliRun show = cli({"show", "2"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_TRUE(show.out.starts_with("{")) << show.out;
    EXPECT_NE(show.out.find(R"("KanaName": "ﾔﾏﾀﾞ")"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"("KanjiName": "山田 太郎")"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"("Birthday": 19650203)"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"("EMail": "taro@example.jp")"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find(R"("Company": "")"), std::string::npos) << show.out;
}

TEST_F(CliTest, ListIsOrderedByIndexGroupThenReading)
{
    add({"--KanaName=ｷｲ", "--KanjiName=紀伊"});
    add({"--KanaName=1ﾊﾞﾝ", "--KanjiName=一番"}); // a reading beginning with a digit files last
    add({"--KanaName=ｶﾞｲ", "--KanjiName=我意"});
    add({"--KanaName=ｱｲ", "--KanjiName=藍"});
    add({"--KanaName=ｶｲ", "--KanjiName=甲斐"});

    CliRun list = cli({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "K00005\tｱｲ\t藍\n"
                        "K00006\tｶｲ\t甲斐\n"
                        "K00004\tｶﾞｲ\t我意\n"
                        "K00002\tｷｲ\t紀伊\n"
                        "K00003\t1ﾊﾞﾝ\t一番\n");
}

// Within group 44 the stored bytes and the decoded text sort differently: 亜 (0x889F, U+4E9C) comes
// before 一 (0x88EA, U+4E00) by bytes, after it by text; a byte that does not decode (0xFD, kept as
// U+F7FD) comes after ｱ (0xB1) by bytes, before it (U+FF71) by text. The list sorts by text.
TEST_F(CliTest, ListSortsReadingsAsTextNotAsStoredBytes)
{
    test::WriteRecords(mainFile().string(), {test::HandMainHeader(6), test::HandAddress("\xDD\xB1", "a"),
                                             test::HandAddress("\xDD\xFD", "b"), test::HandAddress("\x88\x9F", "c"),
                                             test::HandAddress("\x88\xEA", "d"), test::HandAddress("A", "e")});
    CliRun list = cli({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "K00006\tA\te\n"
                        "K00005\t一\td\n"
                        "K00004\t亜\tc\n"
                        "K00003\tﾝ\xEF\x9F\xBD\tb\n"
                        "K00002\tﾝｱ\ta\n");
}

TEST_F(CliTest, DeletedRecordIsGoneAndItsNumberIsReused)
{
    add({"--KanaName=ﾔﾏﾀﾞ"});
    add({"--KanaName=ｽｽﾞｷ"});
    CliRun del = cli({"delete", "2"});
    EXPECT_EQ(del.exitCode, 0) << del.err;

    EXPECT_EQ(cli({"count"}).out, "1\n");
    EXPECT_EQ(cli({"list"}).out, "K00003\tｽｽﾞｷ\t\n");
    EXPECT_EQ(cli({"show", "2"}).exitCode, 1);
    EXPECT_EQ(cli({"delete", "2"}).exitCode, 1);
    EXPECT_EQ(add({"--KanaName=ﾀﾅｶ"}), "2\n");
}

TEST_F(CliTest, MissingRecordIsRefused)
{
    EXPECT_EQ(cli({"count"}).out, "0\n");
    add({"--KanaName=ﾔﾏﾀﾞ"});
    EXPECT_EQ(cli({"show", "3"}).exitCode, 1);
    EXPECT_EQ(cli({"delete", "64000"}).exitCode, 1);
    EXPECT_EQ(cli({"count"}).out, "1\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"--db", "11", "count"},
        {"--db=0", "count"},
        {"show"},
        {"show", "two"},
        {"show", "1"},
        {"count", "extra"},
        {"list", "--KanaName=ｱ"},
        {"add", "--KanjiName=山田"},
        {"add", "--KanaName="},
        {"add", "--KanaName=ﾔﾏﾀﾞ", "--NoSuchField=1"},
        {"add", "--KanaName=ﾔﾏﾀﾞ", "--Birthday=1965/02/03"},
        {"add", "--KanaName=ﾔﾏﾀﾞ", "--KanjiName=" + Repeat("山", 16)},
        {"add", "--KanaName=" + Repeat("ｱ", 31)},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const auto& arg : args) {
            shown += arg + " ";
        }
        CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
        EXPECT_TRUE(run.out.empty()) << shown;
    }
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));

    // A name of fifteen double-byte characters fills the field exactly.
    EXPECT_EQ(add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=" + Repeat("山", 15)}), "2\n");
}

TEST_F(CliTest, DbOptionChoosesTheDatabaseFiles)
{
    EXPECT_EQ(add({"--db", "3", "--KanaName=ﾔﾏﾀﾞ"}), "2\n");
    EXPECT_TRUE(std::filesystem::exists(mainFile("MRPDAT03.QX1")));
    EXPECT_TRUE(std::filesystem::exists(mainFile("MRPDAT03.QX2")));
    EXPECT_FALSE(std::filesystem::exists(mainFile("MRPDAT01.QX1")));
    EXPECT_EQ(cli({"--db=3", "count"}).out, "1\n");
    EXPECT_EQ(cli({"count"}).out, "0\n");
}

TEST_F(CliTest, PasswordProtectedDatabaseNeedsTheRightPassword)
{
    add({"--KanaName=ﾔﾏﾀﾞ"});
    protectWithPasswordAB();

    CliRun none = cli({"count"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.empty());

    CliRun wrong = cli({"--password", "ab", "count"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("パスワードが正しくありません。"), std::string::npos) << wrong.err;
    EXPECT_TRUE(wrong.out.empty());

    CliRun right = cli({"--password=AB", "count"});
    EXPECT_EQ(right.exitCode, 0) << right.err;
    EXPECT_EQ(right.out, "1\n");

    // list and search read the main file themselves, behind the same password.
    for (const auto& command : std::vector<std::vector<std::string>>{{"list"}, {"search", "--KanaName=ﾔ"}}) {
        CliRun refused = cli(command);
        EXPECT_EQ(refused.exitCode, 1) << command[0];
        EXPECT_TRUE(refused.out.empty()) << command[0];
        std::vector<std::string> withPassword = {"--password=AB"};
        withPassword.insert(withPassword.end(), command.begin(), command.end());
        EXPECT_EQ(cli(withPassword).out, "K00002\tﾔﾏﾀﾞ\t\n") << command[0];
    }
}

// A password typed on the command line is seen by everyone in the process list; a file or
// standard input is not. Only the first line counts, without its line end.
TEST_F(CliTest, PasswordIsReadFromTheFirstLineOfAFileOrOfStandardInput)
{
    add({"--KanaName=ﾔﾏﾀﾞ"});
    protectWithPasswordAB();
    TempDir files;
    auto write = [&files](const char* name, const std::string& text) {
        std::filesystem::path file = files.path() / name;
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    };
    for (const char* text : {"AB\n", "AB\r\nsecond line\n", "AB"}) {
        CliRun run = cli({"--password-file", write("right", text), "count"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "1\n");
    }
    CliRun fromInput = cli({"--password", "-", "count"}, write("typed", "AB\n"));
    EXPECT_EQ(fromInput.exitCode, 0) << fromInput.err;
    EXPECT_EQ(fromInput.out, "1\n");
    EXPECT_EQ(cli({"--password=-", "list"}, write("typed", "AB\n")).out, "K00002\tﾔﾏﾀﾞ\t\n");

    CliRun wrong = cli({"--password-file=" + write("wrong", "ab\n"), "count"});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("パスワードが正しくありません。"), std::string::npos) << wrong.err;
    EXPECT_TRUE(wrong.out.empty());

    const std::string missing = (files.path() / "missing").string();
    for (const auto& args : std::vector<std::vector<std::string>>{{"--password-file", missing, "count"},
                                                                  {"--password-file", write("empty", ""), "count"},
                                                                  {"--password", "-", "count"}}) {
        CliRun unread = cli(args);
        EXPECT_EQ(unread.exitCode, 1) << args[1];
        EXPECT_NE(unread.err.find("を読み込めません。"), std::string::npos) << unread.err;
        EXPECT_TRUE(unread.out.empty()) << args[1];
    }

    CliRun both = cli({"--password", "AB", "--password-file", write("right", "AB\n"), "count"});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.out.empty());
}

// The window moves to the program folder when its data folder is missing; talikcli refuses, and
// makes nothing anywhere. Its copy sits alone in a writable folder, where a fallback would show.
TEST_F(CliTest, DataFolderThatIsNotThereIsRefusedWithoutFallingBack)
{
    TempDir alone;
    std::filesystem::path copy = alone.path() / "talikcli";
    std::filesystem::copy_file(TALIKCLI_PATH, copy);
    std::filesystem::path plain = data.path() / "plain";
    std::ofstream(plain) << "not a folder";

    const std::vector<std::vector<std::string>> commands = {{"add", "--KanaName=ｱ"},    {"count"},     {"list"},
                                                            {"search", "--KanaName=ｱ"}, {"show", "2"}, {"delete", "2"}};
    for (const auto& folder : {data.path() / "missing", plain, plain / "below"}) {
        for (const auto& command : commands) {
            std::vector<std::string> args = {copy.string(), "--data", folder.string()};
            args.insert(args.end(), command.begin(), command.end());
            CliRun run = spawn(args);
            EXPECT_EQ(run.exitCode, 1) << folder << " " << command[0];
            EXPECT_NE(run.err.find(folder.string()), std::string::npos) << run.err;
            EXPECT_TRUE(run.out.empty()) << folder << " " << command[0];
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(alone.path()), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data.path()), {}), 1);
}

TEST_F(CliTest, DataFolderTheUserCannotEnterIsRefused)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "root enters every folder";
    }
    std::filesystem::path locked = data.path() / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    CliRun run = cli({"--data", locked.string(), "add", "--KanaName=ｱ"});
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("にアクセスできません。"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

// Reading commands open the database without creating it: a missing one is empty.
TEST_F(CliTest, ReadingAMissingDatabaseFindsNothingAndCreatesNoFile)
{
    CliRun count = cli({"--db", "10", "count"});
    EXPECT_EQ(count.exitCode, 0) << count.err;
    EXPECT_EQ(count.out, "0\n");
    for (const auto& command : std::vector<std::vector<std::string>>{{"list"}, {"search", "--KanaName=ｱ"}}) {
        CliRun run = cli(command);
        EXPECT_EQ(run.exitCode, 0) << command[0] << run.err;
        EXPECT_TRUE(run.out.empty()) << command[0];
    }
    EXPECT_EQ(cli({"show", "2"}).exitCode, 1);
    EXPECT_EQ(cli({"delete", "2"}).exitCode, 1);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));

    EXPECT_EQ(add({"--db", "10", "--KanaName=ｱ"}), "2\n");
    EXPECT_TRUE(std::filesystem::exists(mainFile("MRPDAT10.QX1")));
}

// A main file that cannot be read is an error, never an empty database. Root reads every file, so
// a folder stands where the file should be; other users also meet a file without read permission.
TEST_F(CliTest, DatabaseThatCannotBeReadIsRefused)
{
    std::filesystem::create_directory(mainFile());
    const std::vector<std::vector<std::string>> commands = {
        {"count"}, {"list"}, {"search", "--KanaName=ｱ"}, {"show", "2"}};
    auto expectRefused = [&](const std::string& what) {
        for (const auto& command : commands) {
            CliRun run = cli(command);
            EXPECT_EQ(run.exitCode, 1) << what << " " << command[0];
            EXPECT_NE(run.err.find("にアクセスできません。"), std::string::npos) << what << " " << run.err;
            EXPECT_TRUE(run.out.empty()) << what << " " << command[0];
        }
    };
    expectRefused("folder");
    if (geteuid() != 0) {
        std::filesystem::remove(mainFile());
        add({"--KanaName=ﾔﾏﾀﾞ"});
        std::filesystem::permissions(mainFile(), std::filesystem::perms::none);
        expectRefused("no read permission");
    }
}

TEST_F(CliTest, WithoutDataTheSettingsFileNamesTheFolder)
{
    std::ofstream(profile.path() / "QXSCH.INI") << "[System]\r\nDBPathAddr=" << data.str() << "/\r\n";
    CliRun run = spawn({TALIKCLI_PATH, "add", "--KanaName=ｱ"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(data.path() / "MRPDAT01.QX1"));
}

TEST_F(CliTest, SearchChainsWithThenAndPrintsTheHitsInRecordOrder)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田", "--Company=東西商事"});
    add({"--KanaName=ｺﾔﾏ", "--KanjiName=小山"});
    add({"--KanaName=ﾀﾅｶ", "--KanjiName=田中"});
    add({"--KanaName=ﾔﾏﾓﾄ", "--KanjiName=山本"});

    CliRun all = cli({"search", "--KanaName=ﾔﾏ"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "K00002\tﾔﾏﾀﾞ\t山田\nK00003\tｺﾔﾏ\t小山\nK00005\tﾔﾏﾓﾄ\t山本\n");
    EXPECT_EQ(cli({"search", "--KanaName=ﾔﾏ", "then", "--kind=exclude", "--Company=商事"}).out,
              "K00003\tｺﾔﾏ\t小山\nK00005\tﾔﾏﾓﾄ\t山本\n");
    // A later search narrows unless told otherwise; a reading may be typed in hiragana.
    EXPECT_EQ(cli({"search", "--KanaName=やま", "then", "--KanjiName=田"}).out, "K00002\tﾔﾏﾀﾞ\t山田\n");
    EXPECT_EQ(cli({"search", "--KanjiName=田中", "then", "--kind=add", "--KanjiName=小"}).out,
              "K00003\tｺﾔﾏ\t小山\nK00004\tﾀﾅｶ\t田中\n");

    CliRun none = cli({"search", "--Company=西北"});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_TRUE(none.out.empty());
}

TEST_F(CliTest, SearchBirthdayPartsOfZerosMatchAnyAndCheckItemsMustAllBeSet)
{
    add({"--KanaName=ｱ", "--Birthday=19650203", "--CheckItems=  1   1"});
    add({"--KanaName=ｲ", "--Birthday=19800215", "--CheckItems=  1"});
    add({"--KanaName=ｳ", "--Birthday=19650303"});

    EXPECT_EQ(cli({"search", "--birthday=00000200"}).out, "K00002\tｱ\t\nK00003\tｲ\t\n");
    EXPECT_EQ(cli({"search", "--birthday=19650000"}).out, "K00002\tｱ\t\nK00004\tｳ\t\n");
    EXPECT_EQ(cli({"search", "--check=3"}).out, "K00002\tｱ\t\nK00003\tｲ\t\n");
    EXPECT_EQ(cli({"search", "--check=3,7"}).out, "K00002\tｱ\t\n");
}

TEST_F(CliTest, SearchWithoutAConditionIsRefused)
{
    add({"--KanaName=ﾔﾏﾀﾞ"});
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"search"}, {"search", "--kind=add"}, {"search", "--KanaName=ﾔﾏ", "then", "--kind=narrow"}}) {
        CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 1) << args.back();
        EXPECT_NE(run.err.find("検索したい項目に入力をするか、\n選択をして検索実行をしてください。"), std::string::npos)
            << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

TEST_F(CliTest, SearchUsageErrorsExitWithTwo)
{
    const std::vector<std::vector<std::string>> bad = {
        {"search", "--kind=sideways", "--KanaName=ｱ"},
        {"search", "--birthday=1965-2-3"},
        {"search", "--birthday=196502"},
        {"search", "--check=16"},
        {"search", "--check="},
        {"search", "--check=3,,7"},
        {"search", "--Honorific=様"},
        {"search", "--NoSuchField=1"},
        {"search", "--KanaName"},
        {"search", "ﾔﾏ"},
        {"search", "--KanaName=ｱ", "then", "--Remarks=" + Repeat("備", 31)},
    };
    for (const auto& args : bad) {
        CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_FALSE(run.err.empty()) << args.back();
        EXPECT_TRUE(run.out.empty()) << args.back();
    }
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
}

// A database written by hand: 3100 readings in group ｱ, more than the list window's tables hold for
// one group, filed so that reading order runs against record order; then two equal readings in
// group ｶ, a deleted record and a reading that files last.
class CliBigGroupTest : public CliTest
{
protected:
    static constexpr int BigGroup = 3100;

    CliBigGroupTest()
    {
        std::vector<std::vector<std::uint8_t>> records = {test::HandMainHeader(BigGroup + 5)};
        for (int i = 0; i < BigGroup; ++i) {
            records.push_back(test::HandAddress("\xB1" + Digits(BigGroup - 1 - i), "N" + Digits(i)));
        }
        records.push_back(test::HandAddress("\xB6", "B"));        // ｶ
        records.push_back(test::HandAddress("\xB6", "A"));        // ｶ again
        records.push_back(test::HandAddress("\xFF\xB2", "Gone")); // a deleted ｲ
        records.push_back(test::HandAddress("Z", "Last"));        // group 44
        test::WriteRecords(mainFile().string(), records);
    }

    static std::string Digits(int n)
    {
        std::string text = std::to_string(n);
        return std::string(4 - text.size(), '0') + text;
    }
    static std::string Key(int recNo)
    {
        return "K" + std::string(5 - std::to_string(recNo).size(), '0') + std::to_string(recNo);
    }
};

TEST_F(CliBigGroupTest, ListPrintsEveryLiveRecordOfAGroupBeyondThreeThousand)
{
    std::string expected;
    for (int n = 0; n < BigGroup; ++n) { // reading ｱ<n> is record BigGroup + 1 - n
        expected += Key(BigGroup + 1 - n) + "\tｱ" + Digits(n) + "\tN" + Digits(BigGroup - 1 - n) + "\n";
    }
    expected += Key(BigGroup + 2) + "\tｶ\tB\n" + Key(BigGroup + 3) + "\tｶ\tA\n" + Key(BigGroup + 5) + "\tZ\tLast\n";

    CliRun list = cli({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_TRUE(list.err.empty()) << list.err;
    EXPECT_EQ(list.out, expected);
    EXPECT_EQ(cli({"count"}).out, std::to_string(BigGroup + 3) + "\n");
}

TEST_F(CliBigGroupTest, SearchFindsRecordsBeyondAFullGroupWithoutComplaint)
{
    CliRun search = cli({"search", "--KanaName=ｱ0000"});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    EXPECT_TRUE(search.err.empty()) << search.err;
    EXPECT_EQ(search.out, Key(BigGroup + 1) + "\tｱ0000\tN3099\n");
}

std::optional<std::filesystem::path> FindProgram(const std::string& name)
{
    for (const char* folder : {"/usr/bin", "/bin", "/usr/sbin"}) {
        std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (std::filesystem::exists(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Every command but print starts without Qt's libraries; print runs in a helper program that has them.
TEST_F(CliTest, TalikcliLoadsNoQtLibrary)
{
    auto ldd = FindProgram("ldd");
    ASSERT_TRUE(ldd) << "ldd is needed to read the libraries talikcli loads";
    CliRun libraries = spawn({ldd->string(), TALIKCLI_PATH});
    ASSERT_EQ(libraries.exitCode, 0) << libraries.err;
    EXPECT_NE(libraries.out.find("libc.so"), std::string::npos) << libraries.out;
    EXPECT_EQ(libraries.out.find("libQt"), std::string::npos) << libraries.out;
}

TEST_F(CliTest, PrintWithoutItsHelperProgramIsRefused)
{
    TempDir alone;
    std::filesystem::path copy = alone.path() / "talikcli";
    std::filesystem::copy_file(TALIKCLI_PATH, copy);
    add({"--KanaName=ﾔﾏﾀﾞ"});

    CliRun print =
        spawn({copy.string(), "--data", data.str(), "print", "list", "--out", (data.path() / "a.pdf").string()});
    EXPECT_EQ(print.exitCode, 1);
    EXPECT_NE(print.err.find("talikcli-print を起動できません。"), std::string::npos) << print.err;
    EXPECT_FALSE(std::filesystem::exists(data.path() / "a.pdf"));
}

TEST_F(CliTest, PrintJobsForPrintersGoToTheHelperThatHasPrintersAndOthersToThePdfOne)
{
    // Beside a copy of talikcli, the PDF helper alone: file jobs print, printer jobs cannot start.
    TempDir alone;
    const std::filesystem::path folder = std::filesystem::path(TALIKCLI_PATH).parent_path();
    std::filesystem::copy_file(TALIKCLI_PATH, alone.path() / "talikcli");
    std::filesystem::copy_file(folder / "talikcli-print", alone.path() / "talikcli-print");
    add({"--KanaName=ﾔﾏﾀﾞ"});
    const std::string copy = (alone.path() / "talikcli").string();
    const std::string pdf = (data.path() / "a.pdf").string();

    CliRun toFile = spawn({copy, "--data", data.str(), "print", "list", "--out", pdf});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_TRUE(std::filesystem::exists(pdf));
    for (const std::vector<std::string>& printer : {std::vector<std::string>{"--printer", "lp"}, {"--printer=lp"}}) {
        std::vector<std::string> args = {copy, "--data", data.str(), "print", "list"};
        args.insert(args.end(), printer.begin(), printer.end());
        CliRun toPrinter = spawn(args);
        EXPECT_EQ(toPrinter.exitCode, 1);
        EXPECT_NE(toPrinter.err.find("talikcli-printer を起動できません。"), std::string::npos) << toPrinter.err;
    }
    // The PDF helper started by hand refuses a printer as one it cannot use.
    CliRun byHand =
        spawn({(folder / "talikcli-print").string(), "--data", data.str(), "print", "list", "--printer", "lp"});
    EXPECT_EQ(byHand.exitCode, 1);
    EXPECT_NE(byHand.err.find("プリンタ lp を使用できません。"), std::string::npos) << byHand.err;
}

} // namespace
} // namespace talik

namespace talik {
namespace {

class CliExport : public test::CliFixture
{
protected:
    std::string out() const { return capture.str() + "/out.csv"; }
    std::string fileText() const
    {
        std::ifstream in(out(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(CliExport, WholeDatabaseAndNamedRecordsWithTheirMessagesAndQuestions)
{
    for (auto reading : {"--KanaName=ﾔﾏﾀﾞ", "--KanaName=ｱｵｷ"}) {
        ASSERT_EQ(cli({"add", reading, "--KanjiName=名\"前"}).exitCode, 0);
    }
    test::ProgramRun all = cli({"export", "--out", out()});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.err, out() + " へ\n登録データを出力してもよろしいですか？ → はい\n2 件のデータが出力されました。\n");
    std::string text = fileText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_LT(text.find("\xB1\xB5\xB7"), text.find("\xD4\xCF\xC0\xDE")); // ｱｵｷ before ﾔﾏﾀﾞ, in CP932
    EXPECT_NE(text.find("\"\x96\xBC\"\"\x91\x4F\""), std::string::npos); // 名""前

    test::ProgramRun listed = cli({"export", "--out=" + out(), "--records", "2", "--encoding", "utf-8"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.err.find("\n1件のデータが出力されました。"), std::string::npos) << listed.err;
    text = fileText();
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_NE(text.find("\"ﾔﾏﾀﾞ\",\"名\"\"前\""), std::string::npos);
}

TEST_F(CliExport, RefusalsAndUsage)
{
    ASSERT_EQ(cli({"add", "--KanaName=ﾔﾏﾀﾞ"}).exitCode, 0);
    EXPECT_EQ(cli({"export"}).exitCode, 2);
    EXPECT_EQ(cli({"export", "--out", out(), "--encoding", "latin1"}).exitCode, 2);
    EXPECT_EQ(cli({"export", "--out", out(), "--records", "2,x"}).exitCode, 2);
    EXPECT_EQ(cli({"export", "--out", out(), "--records", "3"}).exitCode, 1);
    test::ProgramRun own = cli({"export", "--out", data.str() + "/MRPDAT01.QX1"});
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_NE(own.err.find("出力時にエラーが発生しました。\nデータベースのファイルには出力できません。"),
              std::string::npos)
        << own.err;
    test::ProgramRun missing = cli({"export", "--out", capture.str() + "/no/such/folder/out.csv"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("出力時にエラーが発生しました。\nNo such file or directory"), std::string::npos)
        << missing.err;
    EXPECT_FALSE(std::filesystem::exists(out()));
}

} // namespace
} // namespace talik
