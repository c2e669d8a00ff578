// talikcli print --season: only the people who get a card that year are printed, and with
// --mark-sent they are marked sent only when the whole run went through.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/cli/clifixture.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

namespace fs = std::filesystem;

class CliSeasonPrint : public CliFixture
{
protected:
    CliSeasonPrint()
    {
        // Records 2..6 in reading order.
        const char* people[][2] = {{"ｱ", "山田"}, {"ｲ", "佐藤"}, {"ｳ", "鈴木"}, {"ｴ", "田中"}, {"ｵ", "高橋"}};
        for (const auto& person : people) {
            add({std::string("--KanaName=") + person[0], std::string("--KanjiName=") + person[1],
                 "--PostCode1=123-4567", "--Address1=東京都千代田区"});
        }
        mark({"--year", "2027", "--mourning", "--records", "3"}); // 佐藤 in mourning
        mark({"--year", "2027", "--sent", "--records", "4"});     // 鈴木 already sent
        mark({"--stop", "--records", "6"});                       // 高橋 no longer written to
    }
    void mark(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"season", "mark"});
        ProgramRun run = cli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    // The names season list prints for a filter, in list order.
    std::string names(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"season", "list"});
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::string found;
        for (std::size_t start = 0; start < run.out.size();) {
            std::size_t end = run.out.find('\n', start);
            std::string line = run.out.substr(start, end - start);
            found += (found.empty() ? "" : " ") + line.substr(line.rfind('\t') + 1);
            start = end + 1;
        }
        return found;
    }
    // The words of a PDF, blanks and line ends left out.
    std::string pdfText(const std::string& file)
    {
        ProgramRun run = RunProgram({"/usr/bin/pdftotext", "-raw", file, "-"}, capture.path());
        std::string packed;
        for (char c : run.out) {
            if (c != ' ' && c != '\n' && c != '\f') {
                packed += c;
            }
        }
        return packed;
    }
    std::string pdf(const std::string& name) const { return (output.path() / name).string(); }
    bool havePoppler() const { return fs::exists("/usr/bin/pdftotext"); }

    TempDir output;
};

TEST_F(CliSeasonPrint, PostcardsGoToThisYearsRecipientsOnlyAndAreMarkedSentAfterTheRun)
{
    ProgramRun run =
        cli({"print", "postcards", "--season", "2027", "--mark-sent", "--horizontal", "--out", pdf("cards.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    if (havePoppler()) {
        const std::string text = pdfText(pdf("cards.pdf"));
        EXPECT_NE(text.find("山田"), std::string::npos);
        EXPECT_NE(text.find("田中"), std::string::npos);
        for (const char* left : {"佐藤", "鈴木", "高橋"}) {
            EXPECT_EQ(text.find(left), std::string::npos) << left;
        }
    }
    EXPECT_EQ(names({"--year", "2027", "--sent"}), "山田 鈴木 田中");
    EXPECT_EQ(names({"--year", "2027", "--to-send"}), "");
    EXPECT_EQ(names({"--year", "2028", "--sent"}), "") << "only the year printed for";
}

TEST_F(CliSeasonPrint, WithoutMarkSentOrWithNamedRecordsOnlyThoseAsked)
{
    ProgramRun run = cli({"print", "labels", "--season", "2027", "--out", pdf("labels.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(names({"--year", "2027", "--sent"}), "鈴木") << "printing alone marks nothing";

    run = cli({"print", "labels", "--season", "2027", "--mark-sent", "--records", "2,3,4", "--out", pdf("named.pdf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(names({"--year", "2027", "--sent"}), "山田 鈴木") << "of the named, only the one to send";
}

TEST_F(CliSeasonPrint, AFailedPrintMarksNoOne)
{
    ProgramRun run = cli({"print", "postcards", "--season", "2027", "--mark-sent", "--out",
                          (output.path() / "missing" / "cards.pdf").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(names({"--year", "2027", "--sent"}), "鈴木");
    EXPECT_EQ(names({"--year", "2027", "--to-send"}), "山田 田中");
}

TEST_F(CliSeasonPrint, NoOneToSendIsRefusedAndMisusedOptionsAreUsageErrors)
{
    mark({"--year", "2027", "--sent", "--records", "2,5"});
    ProgramRun run = cli({"print", "postcards", "--season", "2027", "--out", pdf("none.pdf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(fs::exists(pdf("none.pdf")));

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"print", "postcards", "--mark-sent", "--out", pdf("a.pdf")},
             {"print", "list", "--season", "2027", "--out", pdf("a.pdf")},
             {"print", "postcards", "--season", "27x", "--out", pdf("a.pdf")},
             {"print", "postcards", "--season", "1200", "--out", pdf("a.pdf")},
         }) {
        run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args[1] << " " << args[2];
        EXPECT_FALSE(fs::exists(pdf("a.pdf")));
    }
}

} // namespace
} // namespace talik::test
