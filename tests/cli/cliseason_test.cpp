// talikcli season: marks set and cleared per card year in one go, listed by each filter exactly as
// list prints, shown by show, kept apart per year, and nothing marked when a record is missing.
#include <ctime>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"

namespace talik::test {
namespace {

class CliSeason : public CliFixture
{
protected:
    CliSeason()
    {
        for (const char* name : {"山田", "佐藤", "鈴木", "田中", "高橋"}) {
            add({"--KanaName=ｱ", std::string("--KanjiName=") + name});
        }
    }
    void mark(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"season", "mark"});
        ProgramRun run = cli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // The names season list prints for a filter, in list order.
    std::string names(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"season", "list"});
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::string found;
        std::size_t start = 0;
        while (start < run.out.size()) {
            std::size_t end = run.out.find('\n', start);
            std::string line = run.out.substr(start, end - start);
            found += (found.empty() ? "" : " ") + line.substr(line.rfind('\t') + 1);
            start = end + 1;
        }
        return found;
    }
};

TEST_F(CliSeason, AYearsWorkflowListsEachFilterAsListPrintsIt)
{
    mark({"--year", "2027", "--mourning", "--records", "3"});
    mark({"--year=2027", "--sent", "--records", "2,4"});
    mark({"--year", "2027", "--received", "--records", "4,5", "--note", "転居のため宛先変更"});
    mark({"--stop", "--records", "6"});

    EXPECT_EQ(names({"--year", "2027", "--to-send"}), "田中");
    EXPECT_EQ(names({"--year", "2027", "--sent"}), "山田 鈴木");
    EXPECT_EQ(names({"--year", "2027", "--received"}), "鈴木 田中");
    EXPECT_EQ(names({"--year", "2027", "--reply-needed"}), "田中");
    EXPECT_EQ(names({"--year", "2027", "--mourning"}), "佐藤");
    EXPECT_EQ(names({"--year", "2027"}), "山田 佐藤 鈴木 田中 高橋");
    EXPECT_EQ(names({"--year", "2026", "--sent"}), "") << "each year is kept apart";

    // The lines are list's own.
    ProgramRun list = cli({"list"});
    ProgramRun sent = cli({"season", "list", "--year", "2027", "--reply-needed"});
    EXPECT_NE(list.out.find(sent.out), std::string::npos);

    EXPECT_NE(cli({"show", "5"})
                  .out.find("\"Season\": {\"2027\": {\"Sent\": false, \"Received\": true, "
                            "\"Mourning\": false, \"Note\": \"転居のため宛先変更\"}}, \"Stop\": false}"),
              std::string::npos);
    EXPECT_NE(cli({"show", "6"}).out.find("\"Season\": {}, \"Stop\": true}"), std::string::npos);

    mark({"--year", "2027", "--sent", "--off", "--records", "2"});
    mark({"--stop", "--off", "--records", "6"});
    EXPECT_EQ(names({"--year", "2027", "--to-send"}), "山田 田中 高橋");
    EXPECT_NE(cli({"show", "2"}).out.find("\"Season\": {}, \"Stop\": false}"), std::string::npos)
        << "a year left without marks is left out";
}

TEST_F(CliSeason, AMissingRecordMarksNothingAndTheDefaultYearIsTheComingNewYear)
{
    ProgramRun run = cli({"season", "mark", "--sent", "--records", "2,64000"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("64000"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(data.path() / "MRPDAT01.db")) << "nothing marked, nothing created";

    mark({"--sent", "--records", "2"});
    std::string shown = cli({"show", "2"}).out;
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    int coming = local.tm_year + 1900 + (local.tm_mon + 1 >= 7 ? 1 : 0);
    EXPECT_NE(shown.find("\"" + std::to_string(coming) + "\": {\"Sent\": true"), std::string::npos) << shown;

    EXPECT_EQ(cli({"season", "mark", "--stop", "--year", "2027", "--records", "2"}).exitCode, 2);
    EXPECT_EQ(cli({"season", "mark", "--records", "2"}).exitCode, 2);
    EXPECT_EQ(cli({"season", "list", "--records", "2"}).exitCode, 2);
}

TEST_F(CliSeason, ARecordAnOlderCopyWroteGetsItsIdentityWhenMarked)
{
    // Blank the identity of record 3, as an older copy's record has none.
    {
        std::fstream main(data.path() / "MRPDAT01.QX1", std::ios::in | std::ios::out | std::ios::binary);
        main.seekp(2 * 600 + 586);
        main.write("              ", 14);
    }
    EXPECT_NE(cli({"show", "3"}).out.find("\"Id\": \"\""), std::string::npos);
    mark({"--year", "2027", "--mourning", "--records", "3"});
    std::string shown = cli({"show", "3"}).out;
    EXPECT_EQ(shown.find("\"Id\": \"\""), std::string::npos);
    EXPECT_NE(shown.find("\"Mourning\": true"), std::string::npos);
}

} // namespace
} // namespace talik::test
