// The print work file: the lines a job writes from its records and senders, how the print dialogs
// read them back, the limits of a job, and the characters the engines convert.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/recordfile.h"
#include "print/printwork.h"
#include "store/identity.h"
#include "store/record.h"
#include "store/sidestore.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// Offsets of the address record's fields.
constexpr std::size_t Address1At = 110, PostCode1At = 190, Address2At = 236, PostCode2At = 316;
constexpr std::size_t PrintOptionsAt = 366, CompanyAt = 368, DepartmentAt = 428, HonorificAt = 573;
constexpr std::size_t SenderChoiceAt = 585;

class PrintWorkTest : public StoreTest
{
protected:
    PrintWorkTest()
    {
        // A program folder apart from the writable one, so a job written to the wrong one shows.
        state.ProgramFolder = programDir.str() + "/";
        state.settings.FromPost = "100-0001";
        state.settings.FromAddr = "東京都千代田区";
        state.settings.FromName = "差出 一郎";
    }

    // A record with both addresses, company and department filled, the rest as given.
    static std::vector<std::uint8_t> Address(int printOptions = 0,
                                             std::string_view honorific = "",
                                             char senderChoice = '0',
                                             std::string_view name = "山田太郎")
    {
        auto rec = HandAddress("\xd4\xcf\xc0\xde", ToCp932(name));
        Put(rec, PostCode1At, "111-1111", 10);
        Put(rec, Address1At, ToCp932("住所一"), 80);
        Put(rec, PostCode2At, "222-2222", 10);
        Put(rec, Address2At, ToCp932("住所二"), 80);
        Put(rec, CompanyAt, ToCp932("会社"), 60);
        Put(rec, DepartmentAt, ToCp932("部署"), 60);
        Put(rec, HonorificAt, ToCp932(honorific), 10);
        PutInteger(rec, PrintOptionsAt, static_cast<std::int16_t>(printOptions));
        rec[SenderChoiceAt] = static_cast<std::uint8_t>(senderChoice);
        return rec;
    }

    // Writes the main file with these records (numbers 2, 3, ...) and lists them in that order.
    void writeDatabase(const std::vector<std::vector<std::uint8_t>>& records)
    {
        std::vector<std::vector<std::uint8_t>> file{HandMainHeader(static_cast<std::int32_t>(records.size()) + 1)};
        file.insert(file.end(), records.begin(), records.end());
        WriteRecords(mainPath(), file);
        listRecords(2, static_cast<int>(records.size()));
    }

    // Lists `count` keys from record `firstRecNo` on (records past the file's end read as empty).
    void listRecords(int firstRecNo, int count)
    {
        list.clear();
        for (int i = 0; i < count; ++i) {
            list.add({RecordKey(firstRecNo + i), "ｱ", {}});
        }
    }

    bool writeJob(char kind)
    {
        state.PrintKind = kind;
        return WritePrintWork(state, list, 0, static_cast<int>(list.size()) - 1);
    }

    // The work file's lines, decoded, without their CR LF (which every line must end in).
    std::vector<std::string> fileLines() const
    {
        auto bytes = ReadFileBytes(PrintWorkFile(state));
        std::string text = FromCp932(std::string(bytes.begin(), bytes.end()));
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "a line without CR LF";
            if (end == std::string::npos) {
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    bool workFileExists() const { return std::filesystem::exists(PrintWorkFile(state)); }

    TempDir programDir;
    ListModel list;
};

TEST_F(PrintWorkTest, TheFileLivesInTheWritableFolder)
{
    EXPECT_EQ(PrintWorkFile(state), dir.str() + "/^PrintWK.QXS");
    writeDatabase({Address()});
    ASSERT_TRUE(writeJob(PrintLabels));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "^PrintWK.QXS"));
    EXPECT_TRUE(std::filesystem::is_empty(programDir.path()));
}

TEST_F(PrintWorkTest, ARecordWithoutOptionsGetsItsFirstAddressAndTheDefaultHonorific)
{
    writeDatabase({Address()});
    ASSERT_TRUE(writeJob(PrintLabels));
    EXPECT_EQ(fileLines(), (std::vector<std::string>{
                               R"("100-0001","東京都千代田区","","","差出 一郎","","")",
                               R"("111-1111","住所一","","","山田太郎","様","0")",
                           }));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintWorkTest, EachOptionDigitChangesItsField)
{
    writeDatabase({
        Address(10000, "", '1'),
        Address(1000, "先生"),
        Address(111, "御中"),
        Address(20000, "先生"), // out of range: no option set
        Address(0, "", '1'),
    });
    ASSERT_TRUE(writeJob(PrintLabels));
    auto lines = fileLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], R"("111-1111","住所一","","","山田太郎","様","11")");
    EXPECT_EQ(lines[2], R"("111-1111","住所一","","","山田太郎","","0")");
    EXPECT_EQ(lines[3], R"("222-2222","住所二","会社","部署","山田太郎","御中","0")");
    EXPECT_EQ(lines[4], R"("111-1111","住所一","","","山田太郎","先生","0")");
    EXPECT_EQ(lines[5], R"("111-1111","住所一","","","山田太郎","様","10")");
}

TEST_F(PrintWorkTest, PostcardJobsHaveTwoSenderLinesEvenWithoutASecondSender)
{
    writeDatabase({Address()});
    ASSERT_TRUE(writeJob(PrintPostcards));
    auto lines = fileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], R"("","","","","","","")");

    state.settings.FromPost1 = "  200-0002 ";
    state.settings.FromName1 = "差出 二郎";
    ASSERT_TRUE(writeJob(PrintPostcards));
    EXPECT_EQ(fileLines()[1], R"("200-0002","","","","差出 二郎","","")");
}

TEST_F(PrintWorkTest, RecipientsStartAtEntryThreeOnPostcardsAndTwoOnLabels)
{
    writeDatabase({Address(0, "", '0', "一人目"), Address(0, "", '0', "二人目")});
    ASSERT_TRUE(writeJob(PrintPostcards));
    auto cards = LoadPrintWork(state, false);
    ASSERT_TRUE(cards);
    EXPECT_EQ(cards->PrintLineCount, 4);
    EXPECT_EQ(cards->line(1).PrintName, "差出 一郎!");
    EXPECT_EQ(cards->line(2).PrintName, "!");
    EXPECT_EQ(cards->line(3).PrintName, "一人目!");
    EXPECT_EQ(cards->line(4).PrintHonorific, "様");
    EXPECT_EQ(cards->line(4).PrintFlags, "0");

    ASSERT_TRUE(writeJob(PrintLabels));
    auto labels = LoadPrintWork(state, false);
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->PrintLineCount, 3);
    EXPECT_EQ(labels->line(2).PrintName, "一人目!");
    EXPECT_EQ(labels->line(2).PrintPost, "111-1111");
}

TEST_F(PrintWorkTest, AListJobHoldsTheRecordNumbersFromEntryOne)
{
    list.add({RecordKey(7), "ｱ", {}});
    list.add({RecordKey(2), "ｲ", {}});
    list.add({RecordKey(31), "ｳ", {}});
    ASSERT_TRUE(WritePrintRecNos(state, list, 1, 2));
    EXPECT_EQ(fileLines(), (std::vector<std::string>{"2", "31"}));
    auto table = LoadPrintWork(state, true);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->PrintLineCount, 2);
    EXPECT_EQ(table->line(1).PrintPost, "2");
    EXPECT_EQ(table->line(2).PrintPost, "31");
    EXPECT_EQ(table->line(1).PrintName, "");
}

TEST_F(PrintWorkTest, LoadingDeletesTheFileAndAMissingFileIsTold)
{
    writeDatabase({Address()});
    ASSERT_TRUE(writeJob(PrintLabels));
    ASSERT_TRUE(LoadPrintWork(state, false));
    EXPECT_FALSE(workFileExists());

    EXPECT_FALSE(LoadPrintWork(state, false));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("^PrintWK.QXS"), std::string::npos);
}

TEST_F(PrintWorkTest, EveryFieldSurvivesTheRoundTrip)
{
    const std::string undecodable = "\x80\xa0\xfd\x82"; // ends in a lone lead byte, as a cut field does
    auto rec = Address(111, "\"殿\"");
    Put(rec, PostCode2At, "2,2", 10);
    Put(rec, Address2At, ToCp932("東京都\"港区\",芝") + undecodable, 80);
    Put(rec, CompanyAt, "\"\"", 60);
    Put(rec, DepartmentAt, "a\"\"b,", 60);
    writeDatabase({rec});
    state.settings.FromName = "\"差出\"";
    ASSERT_TRUE(writeJob(PrintLabels));

    auto bytes = ReadFileBytes(PrintWorkFile(state));
    const std::string onDisk(bytes.begin(), bytes.end());
    EXPECT_NE(onDisk.find("\"\"\"\"\"\""), std::string::npos) << "a field of two quotes is written doubled";
    EXPECT_NE(onDisk.find(undecodable + "\""), std::string::npos) << "undecodable bytes are written as stored";

    auto table = LoadPrintWork(state, false);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->PrintLineCount, 2);
    EXPECT_EQ(table->line(1).PrintName, "\"差出\"!");
    const PrintEntry& e = table->line(2);
    EXPECT_EQ(e.PrintPost, "2,2");
    EXPECT_EQ(ToCp932(e.PrintAddress), ToCp932("東京都\"港区\",芝") + undecodable);
    EXPECT_EQ(e.PrintCompany, "\"\"");
    EXPECT_EQ(e.PrintDept, "a\"\"b,");
    EXPECT_EQ(e.PrintName, "山田太郎!");
    EXPECT_EQ(e.PrintHonorific, "\"殿\"");
    EXPECT_EQ(e.PrintFlags, "0");
}

TEST_F(PrintWorkTest, JointNamesFromTheSideStoreTravelWithTheirRecipientOnly)
{
    load();
    const std::int32_t withJoint = addRecord("ｱ", "山田　太郎");
    const std::string identity = RecordIdentity(state.Rec);
    ASSERT_FALSE(identity.empty());
    const std::vector<JointName> names{{"", "花子", "様"}, {"鈴木", "一郎", "殿"}};
    ASSERT_TRUE(WriteJointNames(state, identity, names));
    const std::int32_t alone = addRecord("ｲ", "佐藤　次郎");
    list.clear();
    list.add({RecordKey(withJoint), "ｱ", {}});
    list.add({RecordKey(alone), "ｲ", {}});
    ASSERT_TRUE(writeJob(PrintPostcards));

    // The line without joint names is as an older copy writes it; the other has one field more.
    const auto lines = fileLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(std::count(lines[3].begin(), lines[3].end(), ','), 6);
    EXPECT_EQ(std::count(lines[2].begin(), lines[2].end(), ','), 7);
    const auto table = LoadPrintWork(state, false);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->entries[2].JointNames, names);
    EXPECT_TRUE(table->entries[3].JointNames.empty());
    EXPECT_EQ(table->entries[2].PrintName, "山田　太郎!");
}

TEST_F(PrintWorkTest, AFileOfAnOlderCopyReadsAsWritten)
{
    std::ofstream(PrintWorkFile(state), std::ios::binary)
        << ToCp932("\"1\",\"住所\",\"\",\"\",\"名前\",\"様\",\"10\"\r\n\r\n 2 , x ,,,\"名\"  ,\"\",\"0\"\r\n");
    auto table = LoadPrintWork(state, false);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->PrintLineCount, 2);
    EXPECT_EQ(table->line(1).PrintFlags, "10");
    EXPECT_EQ(table->line(2).PrintPost, "2");
    EXPECT_EQ(table->line(2).PrintAddress, "x");
    EXPECT_EQ(table->line(2).PrintName, "名!");
}

// A doubled quote inside a quoted field reads as one, whatever follows the closing quote up to the
// comma is passed over, and a quoted field left open runs to the end of the file.
TEST(PrintWorkLines, QuotesReadAsWrittenAndAnOpenFieldRunsToTheEnd)
{
    const PrintTable table = ParsePrintWork("\"1\",\"a\"\"\"\"b\"x,\"c\r\nd", false);
    ASSERT_EQ(table.PrintLineCount, 1);
    EXPECT_EQ(table.line(1).PrintPost, "1");
    EXPECT_EQ(table.line(1).PrintAddress, "a\"\"b");
    EXPECT_EQ(table.line(1).PrintCompany, "c\r\nd");
    EXPECT_EQ(table.line(1).PrintName, "!");
}

TEST_F(PrintWorkTest, AJobTooLargeForThePrintTableIsRefusedBeforeAnythingIsWritten)
{
    listRecords(2, PrintTable::Capacity - 2); // two sender lines: the table is full
    ASSERT_TRUE(writeJob(PrintPostcards));
    auto table = LoadPrintWork(state, false);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->PrintLineCount, PrintTable::Capacity);
    EXPECT_TRUE(ui.shown.empty());

    listRecords(2, PrintTable::Capacity - 1);
    EXPECT_FALSE(writeJob(PrintPostcards));
    EXPECT_FALSE(workFileExists());
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "印刷するデータが多すぎます（最大 3008 件）。\r\n件数を減らしてから印刷してください。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);

    EXPECT_TRUE(writeJob(PrintLabels)); // one sender line: 3009 records fit
    std::filesystem::remove(PrintWorkFile(state));

    listRecords(2, PrintTable::Capacity + 1);
    EXPECT_FALSE(WritePrintRecNos(state, list, 0, PrintTable::Capacity));
    EXPECT_FALSE(workFileExists());
    EXPECT_NE(ui.messages().back().find("最大 3010 件"), std::string::npos);
}

// Lets no file of this process grow past `bytes` while it lives, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST_F(PrintWorkTest, AWriteThatFailsHalfwayIsToldAndLeavesTheOldFileAsItWas)
{
    listRecords(2, 1);
    ASSERT_TRUE(writeJob(PrintLabels));
    const auto before = ReadFileBytes(PrintWorkFile(state));

    listRecords(2, 500);
    {
        FileSizeLimit diskFull(4096);
        EXPECT_FALSE(writeJob(PrintLabels));
    }
    EXPECT_EQ(ReadFileBytes(PrintWorkFile(state)), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "^PrintWK.QXS") << "left behind";
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0],
              "印刷データ（" + PrintWorkFile(state) +
                  "）の書き込みに失敗しました。\r\nディスクの空き容量とアクセス権を確認してください。");
}

TEST(KanjiDigit, TurnsOnlyFullWidthDigitsIntoKanjiNumerals)
{
    EXPECT_EQ(KanjiDigit("０"), "〇");
    EXPECT_EQ(KanjiDigit("５"), "五");
    EXPECT_EQ(KanjiDigit("９"), "九");
    EXPECT_EQ(KanjiDigit("5"), "5");
    EXPECT_EQ(KanjiDigit("－"), "－");
    EXPECT_EQ(KanjiDigit("１２"), "１２");
}

TEST(WideKanaChar, JoinsAVoicingMarkWithTheKanaBeforeIt)
{
    struct Case
    {
        const char* ch;
        const char* next;
        const char* wide;
        bool joined;
    };
    for (const Case& c : {
             Case{"ｶ", "ﾞ", "ガ", true},
             Case{"ﾄ", "ﾞ", "ド", true},
             Case{"ﾊ", "ﾟ", "パ", true},
             Case{"ﾎ", "ﾞ", "ボ", true},
             Case{"ｳ", "ﾞ", "ヴ", true},
             Case{"ﾜ", "ﾞ", "ワ゛", true}, // no single character for it: both widened
             Case{"ｶ", "ﾟ", "カ゜", true},
             Case{"ｶ", "ｷ", "カ", false},
             Case{"ｯ", "", "ッ", false},
             Case{"ｦ", "ﾞ", "ヲ", false}, // before "ｱ": takes no mark
             Case{"ﾞ", "", "゛", false},
         }) {
        bool joined = !c.joined;
        EXPECT_EQ(WideKanaChar(c.ch, c.next, &joined), c.wide) << c.ch << c.next;
        EXPECT_EQ(joined, c.joined) << c.ch << c.next;
    }
}

TEST(WideKanaChar, WidensSingleByteCharactersAndKeepsTheLongVowelMark)
{
    EXPECT_EQ(WideKanaChar("-", ""), "－");
    EXPECT_EQ(WideKanaChar("1", "2"), "１");
    EXPECT_EQ(WideKanaChar("A", ""), "Ａ");
    EXPECT_EQ(WideKanaChar("~", ""), "～");
    EXPECT_EQ(WideKanaChar(" ", ""), "　");
    EXPECT_EQ(WideKanaChar("ｰ", ""), "ー");
    EXPECT_EQ(WideKanaChar("ー", ""), "ー"); // コーポ stays コーポ: the vertical font turns it
    EXPECT_EQ(WideKanaChar("山", "ﾞ"), "山");
    EXPECT_EQ(WideKanaChar("Ａ", ""), "Ａ");
    EXPECT_EQ(WideKanaChar("\xef\x9e\x80", ""), "\xef\x9e\x80"); // an undecodable byte stays as it is
}

} // namespace
} // namespace talik::test

namespace talik::test {
namespace {

// A job made in memory is the work file a list window writes, and reads as the dialogs read it.
class PrintWorkBytesTest : public PrintWorkTest
{
protected:
    std::string fileBytes() const
    {
        auto bytes = ReadFileBytes(PrintWorkFile(state));
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(PrintWorkBytesTest, TheBytesOfAJobAreTheWorkFileByteForByte)
{
    writeDatabase({Address(0, "", '0', "一人目"), Address(11010, "殿", '1', "二人目"), Address(100, "\"引用\"")});
    for (char kind : {PrintPostcards, PrintLabels}) {
        state.PrintKind = kind;
        auto bytes = PrintWorkBytes(state, list, 0, 2);
        ASSERT_TRUE(bytes);
        EXPECT_FALSE(workFileExists()) << "made in memory only";
        ASSERT_TRUE(writeJob(kind));
        EXPECT_EQ(*bytes, fileBytes()) << kind;
        std::filesystem::remove(PrintWorkFile(state));
    }
    auto numbers = PrintRecNoBytes(state, list, 1, 2);
    ASSERT_TRUE(numbers);
    ASSERT_TRUE(WritePrintRecNos(state, list, 1, 2));
    EXPECT_EQ(*numbers, fileBytes());
}

TEST_F(PrintWorkBytesTest, ParsedBytesGiveTheTableTheFileGives)
{
    writeDatabase({Address(0, "", '0', "一人目"), Address(11010, "殿", '1', "二人目"), Address(100, "\"引用\"")});
    state.PrintKind = PrintPostcards;
    auto bytes = PrintWorkBytes(state, list, 0, 2);
    ASSERT_TRUE(bytes);
    PrintTable parsed = ParsePrintWork(*bytes, false);
    ASSERT_TRUE(writeJob(PrintPostcards));
    auto loaded = LoadPrintWork(state, false);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(parsed.PrintLineCount, loaded->PrintLineCount);
    ASSERT_EQ(parsed.PrintLineCount, 5);
    for (int n = 1; n <= parsed.PrintLineCount; ++n) {
        const PrintEntry& a = parsed.line(n);
        const PrintEntry& b = loaded->line(n);
        EXPECT_EQ(std::tie(a.PrintPost, a.PrintAddress, a.PrintCompany, a.PrintDept, a.PrintName, a.PrintHonorific,
                           a.PrintFlags),
                  std::tie(b.PrintPost, b.PrintAddress, b.PrintCompany, b.PrintDept, b.PrintName, b.PrintHonorific,
                           b.PrintFlags))
            << "line " << n;
    }
    EXPECT_EQ(parsed.line(5).PrintHonorific, "\"引用\"");

    PrintTable numbers = ParsePrintWork("7\r\n31\r\n", true);
    ASSERT_EQ(numbers.PrintLineCount, 2);
    EXPECT_EQ(numbers.line(2).PrintPost, "31");
}

TEST_F(PrintWorkBytesTest, AJobReadsItsRecordsAlsoWhileAWriterHoldsTheFile)
{
    writeDatabase({Address(0, "", '0', "一人目"), Address(0, "", '0', "二人目"), Address(0, "", '0', "三人目")});
    listRecords(4, 1);
    list.add({RecordKey(2), "ｱ", {}});
    list.add({RecordKey(9), "ｱ", {}}); // past the file's end: an empty record
    state.PrintKind = PrintLabels;
    auto mapped = PrintWorkBytes(state, list, 0, 2);
    ASSERT_TRUE(mapped);

    RecordFile writer; // holds the lock a mapping waits for: the records are read instead
    ASSERT_EQ(writer.open(mainPath(), OpenMode::Write, MainRecLen), OpenError::None);
    auto read = PrintWorkBytes(state, list, 0, 2);
    ASSERT_TRUE(read);
    EXPECT_EQ(*mapped, *read);

    PrintTable table = ParsePrintWork(*mapped, false);
    ASSERT_EQ(table.PrintLineCount, 4);
    EXPECT_EQ(table.line(2).PrintName, "三人目!");
    EXPECT_EQ(table.line(3).PrintName, "一人目!");
    EXPECT_EQ(table.line(4).PrintName, "!");
}

TEST_F(PrintWorkBytesTest, AJobTooLargeForTheTableIsRefusedAsTheWriteIs)
{
    listRecords(2, PrintTable::Capacity - 1);
    state.PrintKind = PrintPostcards;
    EXPECT_FALSE(PrintWorkBytes(state, list, 0, PrintTable::Capacity));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "印刷するデータが多すぎます（最大 3008 件）。\r\n件数を減らしてから印刷してください。");

    listRecords(2, PrintTable::Capacity + 1);
    EXPECT_FALSE(PrintRecNoBytes(state, list, 0, PrintTable::Capacity));
    EXPECT_NE(ui.messages().back().find("最大 3010 件"), std::string::npos);
    EXPECT_FALSE(workFileExists());
}

} // namespace
} // namespace talik::test
