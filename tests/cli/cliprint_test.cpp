// talikcli print run for real as a child process; the PDF it writes is read back with the poppler
// tools (pdftotext for the words and where they stand, pdftoppm for the ink).
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/clifixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/tempdir.h"

namespace talik {
namespace {

namespace fs = std::filesystem;
using test::ProgramRun;
using test::RunProgram;
using test::TempDir;

constexpr double MmPerPoint = 25.4 / 72;
constexpr double Tolerance = 0.3; // mm

std::optional<std::string> FindOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        fs::path candidate = fs::path(folder) / program;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

// A word of a PDF page as pdftotext -bbox reports it, in millimetres from the page's top-left:
// `x` is where the text starts (the pen position, not the ink), `y` the top of its line
// (baseline − ascent).
struct Word
{
    double x = 0, y = 0, right = 0, bottom = 0;
    std::string text;
};

struct Page
{
    double width = 0, height = 0; // mm
    std::vector<Word> words;

    // Every word, in reading order of the file, joined by blanks.
    std::string text() const
    {
        std::string joined;
        for (const auto& word : words) {
            joined += word.text + " ";
        }
        return joined;
    }
    bool has(const std::string& text) const { return this->text().find(text) != std::string::npos; }
    // Text drawn a character at a time (label cells) comes out as words of one character each;
    // here they are joined again.
    bool hasPacked(const std::string& text) const
    {
        std::string packed;
        for (const auto& word : words) {
            packed += word.text;
        }
        return packed.find(text) != std::string::npos;
    }
    const Word* find(const std::string& text) const
    {
        auto word = std::find_if(words.begin(), words.end(), [&](const Word& w) { return w.text == text; });
        return word != words.end() ? &*word : nullptr;
    }
};

std::vector<Page> ParseBoundingBoxes(const std::string& html)
{
    static const std::regex PageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const std::regex WordTag(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*)</word>)re");
    std::vector<Page> pages;
    std::istringstream lines(html);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, PageTag)) {
            pages.push_back({std::stod(match[1]) * MmPerPoint, std::stod(match[2]) * MmPerPoint, {}});
        } else if (std::regex_search(line, match, WordTag) && !pages.empty()) {
            pages.back().words.push_back({std::stod(match[1]) * MmPerPoint, std::stod(match[2]) * MmPerPoint,
                                          std::stod(match[3]) * MmPerPoint, std::stod(match[4]) * MmPerPoint,
                                          match[5]});
        }
    }
    return pages;
}

// The recipient's postal code on a card: the single digits near the top edge, left to right.
std::vector<Word> CodeDigits(const Page& card)
{
    std::vector<Word> digits;
    for (const auto& word : card.words) {
        bool digit = word.text.size() == 1 && word.text[0] >= '0' && word.text[0] <= '9';
        if (digit && word.y < 20) {
            digits.push_back(word);
        }
    }
    std::sort(digits.begin(), digits.end(), [](const Word& a, const Word& b) { return a.x < b.x; });
    return digits;
}

std::string TextOf(const std::vector<Word>& words)
{
    std::string text;
    for (const auto& word : words) {
        text += word.text;
    }
    return text;
}

// The engine puts each digit with its top-left corner at the box position, so the digit's text
// begins exactly there and its line top lies at the box's y.
void ExpectDigitsAt(const std::vector<Word>& digits, const std::vector<double>& xs, double y)
{
    ASSERT_EQ(digits.size(), xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        EXPECT_NEAR(digits[i].x, xs[i], Tolerance) << "digit " << i + 1;
        EXPECT_NEAR(digits[i].y, y, Tolerance) << "digit " << i + 1;
    }
}

const std::vector<double> SevenBoxes = {45.0, 51.8, 58.6, 66.4, 73.2, 80.0, 86.8};
const std::vector<double> FiveBoxes = {49.0, 58.5, 68.0, 79.0, 88.5};

class CliPrintTest : public test::CliFixture
{
protected:
    TempDir output;

    void writeSettings(const std::string& text) { std::ofstream(profile.path() / "QXSCH.INI") << text; }

    std::string pdf(const std::string& name) const { return (output.path() / name).string(); }

    // Prints into `name` and returns its pages; the job must succeed.
    std::vector<Page> print(const std::string& name, std::vector<std::string> args)
    {
        args.insert(args.begin(), "print");
        args.insert(args.end(), {"--out", pdf(name)});
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return pages(pdf(name));
    }

    std::vector<Page> pages(const std::string& pdfFile)
    {
        fs::path html = output.path() / "words.html";
        ProgramRun run = RunProgram({*pdftotext, "-bbox", pdfFile, html.string()}, capture.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return ParseBoundingBoxes(test::ReadFileText(html));
    }

    std::optional<std::string> pdftotext = FindOnPath("pdftotext");
};

// The tests that read a PDF back; they need the poppler tools (scripts/deps installs them).
class CliPrintPdfTest : public CliPrintTest
{
protected:
    void SetUp() override
    {
        if (!pdftotext || !FindOnPath("pdftoppm")) {
            GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
        }
    }
};

TEST_F(CliPrintPdfTest, PostalCodeDigitsStandInTheSevenBoxesInBothDirections)
{
    writeSettings("[System]\r\nAddrNum7=1\r\n");
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=1540015", "--Address1=東京都世田谷区桜新町"});

    for (const char* direction : {"--vertical", "--horizontal"}) {
        auto cards = print("card.pdf", {"postcards", "--records", "2", direction});
        ASSERT_EQ(cards.size(), 1u) << direction;
        // Qt writes the page size in whole points: within half a millimetre of 100 × 148.
        EXPECT_NEAR(cards[0].width, 100, 0.5);
        EXPECT_NEAR(cards[0].height, 148, 0.5);
        auto digits = CodeDigits(cards[0]);
        EXPECT_EQ(TextOf(digits), "1540015") << direction;
        ExpectDigitsAt(digits, SevenBoxes, 12.5);
    }
}

TEST_F(CliPrintPdfTest, WithoutSettingsTheCodeFillsTheSevenBoxes)
{
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=150-0001", "--Address1=東京都渋谷区神宮前"});
    for (const char* direction : {"--vertical", "--horizontal"}) {
        auto cards = print("seven.pdf", {"postcards", "--records", "2", direction});
        ASSERT_EQ(cards.size(), 1u) << direction;
        auto digits = CodeDigits(cards[0]);
        EXPECT_EQ(TextOf(digits), "1500001") << direction;
        ExpectDigitsAt(digits, SevenBoxes, 12.5);
    }
}

TEST_F(CliPrintPdfTest, AddressesBreakBetweenTheirPartsAndStayOnTheCard)
{
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=920-0024",
         "--Address1=石川県金沢市木ノ新保町1-1 金沢駅前ビル1201号室"});
    auto cards = print("break.pdf", {"postcards", "--records", "2", "--horizontal"});
    ASSERT_EQ(cards.size(), 1u);
    // "1-1" is one run on one line: never "1" at a line's end and "-1" on the next.
    // The town keeps its number on its own line: "木ノ新保町1-1", never "…町1" and "-1".
    const Word* prefecture = cards[0].find("石川県金沢市");
    const Word* town = cards[0].find("木ノ新保町1-1");
    const Word* building = cards[0].find("金沢駅前ビル1201号室");
    ASSERT_TRUE(prefecture != nullptr && town != nullptr && building != nullptr) << cards[0].text();
    EXPECT_GT(town->y, prefecture->y + 1);
    EXPECT_GT(town->x, prefecture->x + 1); // a later line starts one character in
    EXPECT_GT(building->y, town->y + 1);
    for (const auto& word : cards[0].words) {
        EXPECT_GE(word.x, -Tolerance) << word.text;
        EXPECT_LE(word.right, 100 + Tolerance) << word.text;
        EXPECT_LE(word.bottom, 148 + Tolerance) << word.text;
    }
}

TEST_F(CliPrintPdfTest, TheLayoutComesFromTheSettingsOfTheChosenMode)
{
    writeSettings("[System]\r\nAddrNum7=0\r\n[System_03]\r\nAddrNum7=1\r\n");
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=154-0015"});

    auto modeZero = CodeDigits(print("zero.pdf", {"postcards"})[0]);
    EXPECT_EQ(TextOf(modeZero), "15400");
    ExpectDigitsAt(modeZero, FiveBoxes, 13.0);

    auto modeThree = CodeDigits(print("three.pdf", {"postcards", "--mode", "3"})[0]);
    EXPECT_EQ(TextOf(modeThree), "1540015");
    ExpectDigitsAt(modeThree, SevenBoxes, 12.5);
}

TEST_F(CliPrintPdfTest, NamesArePrintedAsRealTextOnCardsLabelsAndLists)
{
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=1540015", "--Address1=東京都世田谷区桜新町"});
    add({"--KanaName=ｽｽﾞｷﾊﾅｺ", "--KanjiName=鈴木　花子", "--PostCode1=5300001", "--Address1=大阪府大阪市北区梅田"});

    auto across = print("across.pdf", {"postcards", "--horizontal", "--records", "2"});
    ASSERT_EQ(across.size(), 1u);
    EXPECT_TRUE(across[0].find("山田") && across[0].find("太郎") && across[0].find("様")) << across[0].text();
    EXPECT_TRUE(across[0].has("東京都世田谷区桜新町")) << across[0].text();

    // Vertical writing puts every character on its own.
    auto down = print("down.pdf", {"postcards", "--vertical", "--records", "3"});
    ASSERT_EQ(down.size(), 1u);
    for (const char* character : {"鈴", "木", "花", "子", "様", "梅"}) {
        EXPECT_TRUE(down[0].find(character)) << character << " in " << down[0].text();
    }

    auto labels = print("labels.pdf", {"labels"});
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_NEAR(labels[0].width, 210, 0.5);
    EXPECT_NEAR(labels[0].height, 297, 0.5);
    EXPECT_TRUE(labels[0].hasPacked("山田") && labels[0].hasPacked("鈴木") && labels[0].hasPacked("5300001"))
        << labels[0].text();

    auto list = print("list.pdf", {"list"});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].has("住　所　録　一　覧　表") || list[0].has("住 所 録 一 覧 表")) << list[0].text();
    EXPECT_TRUE(list[0].has("ﾔﾏﾀﾞﾀﾛｳ") && list[0].has("鈴木")) << list[0].text();

    // The job's work file went to a folder of its own, not beside the program.
    EXPECT_FALSE(fs::exists(fs::path(TALIKCLI_PATH).parent_path() / "^PrintWK.QXS"));
}

TEST_F(CliPrintPdfTest, AllRecordsComeInReadingOrderAndNamedRecordsInTheOrderGiven)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田"}); // 2
    add({"--KanaName=ｱｵｷ", "--KanjiName=青木"});  // 3
    add({"--KanaName=ｽｽﾞｷ", "--KanjiName=鈴木"}); // 4

    auto all = print("all.pdf", {"postcards", "--horizontal"});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_TRUE(all[0].find("青木") && all[1].find("鈴木") && all[2].find("山田"));

    auto named = print("named.pdf", {"postcards", "--horizontal", "--records", "2,4,3"});
    ASSERT_EQ(named.size(), 3u);
    EXPECT_TRUE(named[0].find("山田") && named[1].find("鈴木") && named[2].find("青木"));

    // The list reads each record again by its number: the same order, top to bottom.
    auto list = print("list.pdf", {"list"});
    ASSERT_EQ(list.size(), 1u);
    std::vector<double> tops;
    for (const char* reading : {"ｱｵｷ", "ｽｽﾞｷ", "ﾔﾏﾀﾞ"}) {
        auto word = std::find_if(list[0].words.begin(), list[0].words.end(),
                                 [&](const Word& w) { return w.text.find(reading) != std::string::npos; });
        ASSERT_NE(word, list[0].words.end()) << reading << " in " << list[0].text();
        tops.push_back(word->y);
    }
    EXPECT_TRUE(std::is_sorted(tops.begin(), tops.end()) && tops[0] < tops[2]);
}

TEST_F(CliPrintPdfTest, LabelAndListJobsHaveAsManyPagesAsTheirGridsNeed)
{
    const std::vector<std::pair<std::string, std::string>> people = {
        {"ｱｵｷ", "青木"}, {"ｲﾉｳｴ", "井上"}, {"ｳｴﾀﾞ", "上田"},  {"ｴｸﾞﾁ", "江口"}, {"ｵｵﾉ", "大野"},  {"ｶﾄｳ", "加藤"},
        {"ｷﾑﾗ", "木村"}, {"ｸﾄﾞｳ", "工藤"}, {"ｺﾊﾞﾔｼ", "小林"}, {"ｻﾄｳ", "佐藤"},  {"ｼﾏﾀﾞ", "島田"},
    };
    for (const auto& [reading, name] : people) {
        add({"--KanaName=" + reading, "--KanjiName=" + name});
    }
    // Ten blocks a page: the eleventh record goes alone to page 2.
    auto list = print("list.pdf", {"list"});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].has("1/2") && list[1].has("2/2"));
    EXPECT_TRUE(list[0].has("佐藤") && !list[0].has("島田"));
    EXPECT_TRUE(list[1].has("島田") && !list[1].has("佐藤"));

    // 3 × 8 cells: from the last cell of page 1, the second label opens page 2.
    auto fromLastCell = print("last.pdf", {"labels", "--records", "2,3", "--start-row", "8", "--start-col", "3"});
    ASSERT_EQ(fromLastCell.size(), 2u);
    EXPECT_TRUE(fromLastCell[0].hasPacked("青木") && !fromLastCell[0].hasPacked("井上"));
    EXPECT_TRUE(fromLastCell[1].hasPacked("井上"));
    const Word* name = fromLastCell[0].find("青木");
    ASSERT_NE(name, nullptr) << fromLastCell[0].text();
    EXPECT_GT(name->x, 2 * 60.0) << "third column";
    EXPECT_GT(name->y, 7 * 34.0) << "eighth row";

    // A start row past the grid is taken back to row 1, and the user is told.
    ProgramRun outside = cli({"print", "labels", "--start-row", "9", "--out", pdf("outside.pdf")});
    EXPECT_EQ(outside.exitCode, 0) << outside.err;
    EXPECT_NE(outside.err.find("開始マス目の行設定が最大行数を越えています。"), std::string::npos) << outside.err;
    EXPECT_EQ(pages(pdf("outside.pdf")).size(), 1u);
}

// The ink of a region of page 1 rendered in grey at 300 dpi: its width and height in pixels.
struct InkExtent
{
    int width = 0, height = 0;
};

InkExtent InkIn(const std::string& pdfFile, const Word& box, const fs::path& folder)
{
    constexpr double Dpi = 300;
    auto pixels = [](double mm) { return std::to_string(static_cast<int>(mm / 25.4 * Dpi)); };
    fs::path prefix = folder / "region";
    RunProgram({*FindOnPath("pdftoppm"), "-gray", "-r", "300", "-singlefile", "-f", "1", "-l", "1", "-x", pixels(box.x),
                "-y", pixels(box.y), "-W", pixels(box.right - box.x), "-H", pixels(box.bottom - box.y), pdfFile,
                prefix.string()},
               folder);
    std::ifstream in(prefix.string() + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    std::vector<unsigned char> grey(static_cast<std::size_t>(width * height));
    in.read(reinterpret_cast<char*>(grey.data()), static_cast<std::streamsize>(grey.size()));
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (grey[static_cast<std::size_t>(y * width + x)] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? InkExtent{} : InkExtent{right - left + 1, bottom - top + 1};
}

TEST_F(CliPrintPdfTest, InVerticalWritingTheDashStandsUpright)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田", "--Address1=桜新町1-2"});
    auto card = print("card.pdf", {"postcards", "--vertical"});
    ASSERT_EQ(card.size(), 1u);
    const Word* dash = card[0].find("－");
    ASSERT_NE(dash, nullptr) << card[0].text();

    InkExtent ink = InkIn(pdf("card.pdf"), *dash, output.path());
    EXPECT_GT(ink.height, 3 * ink.width) << ink.width << " × " << ink.height;
}

TEST_F(CliPrintTest, UsageErrorsExitWithTwoAndWriteNoFile)
{
    add({"--KanaName=ﾔﾏﾀﾞ"});
    std::string out = pdf("x.pdf");
    const std::vector<std::vector<std::string>> bad = {
        {"print"},
        {"print", "--out", out},
        {"print", "cards", "--out", out},
        {"print", "list", "labels", "--out", out},
        {"print", "list"},
        {"print", "list", "--out"},
        {"print", "list", "--out", out, "--printer", "lp"},
        {"print", "list", "--out", out, "--color"},
        {"print", "list", "--out", out, "--frames"},
        {"print", "postcards", "--out", out, "--start-row", "2"},
        {"print", "labels", "--out", out, "--vertical"},
        {"print", "postcards", "--out", out, "--vertical", "--horizontal"},
        {"print", "labels", "--out", out, "--start-col", "0"},
        {"print", "labels", "--out", out, "--start-row", "x"},
        {"print", "postcards", "--out", out, "--records", "1"},
        {"print", "postcards", "--out", out, "--records", "2,2"},
        {"print", "postcards", "--out", out, "--records", "2,"},
        {"print", "postcards", "--out", out, "--records", "64001"},
        {"print", "postcards", "--out", out, "--mode", "100"},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const auto& arg : args) {
            shown += arg + " ";
        }
        ProgramRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
        EXPECT_FALSE(fs::exists(out)) << shown;
    }
}

TEST_F(CliPrintTest, ThePrintProgramHandsOnAllItWroteBeforeItEnds)
{
    // It ends without the libraries' clean-up: what waits in its output buffers must still come out.
    add({"--KanaName=ﾔﾏﾀﾞ ﾀﾛｳ", "--KanjiName=山田　太郎"});
    add({"--KanaName=ｽｽﾞｷ ﾊﾅｺ", "--KanjiName=鈴木　花子"});
    const ProgramRun listed = cli({"list"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const std::string helper = (fs::path(TALIKCLI_PATH).parent_path() / "talikcli-print").string();
    const ProgramRun run = RunProgram({helper, "--data", data.str(), "list"}, capture.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, listed.out);
    EXPECT_NE(run.out.find("鈴木　花子"), std::string::npos);
}

TEST_F(CliPrintTest, JobsThatCannotBeDoneAreRefusedWithOne)
{
    ProgramRun empty = cli({"print", "list", "--out", pdf("empty.pdf")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("印刷データがありません。"), std::string::npos) << empty.err;
    EXPECT_FALSE(fs::exists(pdf("empty.pdf")));

    add({"--KanaName=ﾔﾏﾀﾞ"});
    ProgramRun missing = cli({"print", "postcards", "--records", "2,9", "--out", pdf("missing.pdf")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("レコード 9 は登録されていません。"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(pdf("missing.pdf")));

    ProgramRun unwritable = cli({"print", "labels", "--out", (output.path() / "no-such-folder" / "x.pdf").string()});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("に書き込めません。"), std::string::npos) << unwritable.err;

    ProgramRun noPrinter = cli({"print", "labels", "--printer", "talik-test-no-such-printer"});
    EXPECT_EQ(noPrinter.exitCode, 1);
    EXPECT_NE(noPrinter.err.find("talik-test-no-such-printer"), std::string::npos) << noPrinter.err;
}

TEST_F(CliPrintTest, PasswordProtectedDatabasePrintsOnlyWithTheRightPassword)
{
    add({"--KanaName=ﾔﾏﾀﾞ", "--KanjiName=山田"});
    // The stored form of "AB" with salt digit 7: k, the digit count, then the digits "4142" + k.
    fs::path mainFile = data.path() / "MRPDAT01.QX1";
    auto bytes = test::ReadFileBytes(mainFile);
    ASSERT_GE(bytes.size(), 360u);
    const std::vector<std::uint8_t> stored = {0x07, 0x04, 0x0B, 0x08, 0x0B, 0x09};
    std::fill(bytes.begin() + 330, bytes.begin() + 360, ' ');
    std::copy(stored.begin(), stored.end(), bytes.begin() + 330);
    test::WriteFileBytes(mainFile, bytes);

    EXPECT_EQ(cli({"--password", "ab", "print", "list", "--out", pdf("wrong.pdf")}).exitCode, 1);
    EXPECT_FALSE(fs::exists(pdf("wrong.pdf")));
    ProgramRun right = cli({"--password", "AB", "print", "list", "--out", pdf("right.pdf")});
    EXPECT_EQ(right.exitCode, 0) << right.err;
    EXPECT_TRUE(fs::exists(pdf("right.pdf")));
}

TEST_F(CliPrintPdfTest, AHorizontalCardMovesWholeWithThePostcardOffsetOfALayoutFile)
{
    add({"--KanaName=ﾔﾏﾀﾞﾀﾛｳ", "--KanjiName=山田　太郎", "--PostCode1=1540015", "--Address1=東京都世田谷区桜新町"});
    std::ofstream(pdf("moved.PR1"), std::ios::binary)
        << "[System]\r\nAddrDispX=10\r\nAddrDispY=5\r\nPrintDirection=1\r\n";

    auto plain = print("plain.pdf", {"postcards", "--horizontal"});
    auto moved = print("moved.pdf", {"postcards", "--layout", pdf("moved.PR1")});
    ASSERT_EQ(moved.size(), 1u);
    for (const char* text : {"東京都世田谷区桜新町", "1"}) {
        const Word* before = plain[0].find(text);
        const Word* after = moved[0].find(text);
        ASSERT_TRUE(before && after) << text;
        EXPECT_NEAR(after->x - before->x, 10, 0.3) << text;
        EXPECT_NEAR(after->y - before->y, 5, 0.3) << text;
    }
}

TEST_F(CliPrintTest, LayoutFilesAreSavedAndLoadedIntoTheModesSettings)
{
    writeSettings("[System]\r\nAddrBoxWidth=70\r\n");
    ProgramRun saved = cli({"layout", "save", pdf("sheet"), "--kind", "label"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    std::ifstream in(pdf("sheet.PR2"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("AddrBoxWidth=70\r\n"), std::string::npos);

    std::ofstream(pdf("card.PR1"), std::ios::binary) << "[System_04]\r\nAddrDispX=7\r\n";
    ProgramRun loaded = cli({"layout", "load", pdf("card.PR1"), "--kind", "postcard"});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    std::ifstream settings(profile.path() / "QXSCH.INI", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(settings)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("AddrDispX=7\r\n"), std::string::npos);
    EXPECT_NE(text.find("AddrBoxWidth=70\r\n"), std::string::npos);

    std::ofstream(pdf("notes.PR1")) << "hello\n";
    ProgramRun refused = cli({"layout", "load", pdf("notes.PR1"), "--kind", "postcard"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("この印刷設定値ファイルは読み込めません。"), std::string::npos);
    EXPECT_EQ(cli({"layout", "load", pdf("card.PR1")}).exitCode, 2);
}

TEST_F(CliPrintPdfTest, TheCalibrationSheetMarksKnownPointsWhereTheOffsetPutsThem)
{
    writeSettings("[System]\r\nAddrDispX=2\r\nAddrDispY=-1\r\n");
    auto card = print("card.pdf", {"calibration", "--kind", "postcard"});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_NEAR(card[0].width, 100, 0.5);
    const Word* centre = card[0].find("Y=74.0");
    ASSERT_TRUE(centre) << card[0].text();
    EXPECT_NEAR(centre->x, 50 + 2 + 1 + 14, 8); // the label starts just right of the crosshair
    EXPECT_TRUE(card[0].has("X=10.0 Y=138.0 mm")) << card[0].text();

    auto sheet = print("sheet.pdf", {"calibration", "--kind", "label"});
    ASSERT_EQ(sheet.size(), 1u);
    EXPECT_NEAR(sheet[0].width, 210, 0.5);
    EXPECT_TRUE(sheet[0].has("X=10.0 Y=10.0 mm")) << sheet[0].text();
    EXPECT_EQ(cli({"print", "calibration", "--out", pdf("x.pdf")}).exitCode, 2);
}

} // namespace
} // namespace talik
