// CSV export from databases written by hand, checked against bytes written by hand.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "interchange/csvexport.h"
#include "interchange/exportrun.h"
#include "platform/codec.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik {
namespace {

using test::Bytes600;
using test::HandAddress;
using test::HandExtra;
using test::HandExtraHeader;
using test::HandMainHeader;
using test::Put;
using test::PutLong;

// The header as the file carries it (shown here as text; the CP932 file holds its Shift-JIS form).
const std::string HeaderText = "\"カナ名\",\"漢字名\",\"E-Mail\",\"生年月日\",\"分類コード\",\"郵便番号１\",\"住所１\","
                               "\"Tel1\",\"Fax1\",\"郵便番号２\",\"住所２\",\"Tel2\",\"Fax2\",\"会社名\",\"部署名\","
                               "\"備考\",\"備考追加データ\",\"関連情報\"\r\n";

// Every field of the record filled: a quote in the name, line breaks in an address and in the
// remarks extra data, blanks around a telephone number.
Bytes600 FullRecord()
{
    Bytes600 rec = HandAddress("\xD4\xCF\xC0\xDE", "\x8E\x52\x93\x63\"\x91\xBE\x98\x59"); // ﾔﾏﾀﾞ, 山田"太郎
    Put(rec, 60, "a@b.jp", 50);
    Put(rec, 110, "Tokyo\r\nChiyoda", 80); // Address1
    Put(rec, 190, "100-0001", 10);         // PostCode1
    Put(rec, 200, " 03-1111-2222", 18);    // Tel1
    Put(rec, 218, "03-1111-3333", 18);     // Fax1
    Put(rec, 236, "Osaka", 80);            // Address2
    Put(rec, 316, "530-0001", 10);         // PostCode2
    Put(rec, 326, "06-1111-2222", 18);     // Tel2
    Put(rec, 344, "06-1111-3333", 18);     // Fax2
    PutLong(rec, 362, 19650412);           // Birthday
    Put(rec, 368, "ACME", 60);             // Company
    Put(rec, 428, "Sales", 60);            // Department
    Put(rec, 488, "memo", 60);             // Remarks
    Put(rec, 563, "C1", 10);               // ClassCode
    return rec;
}

Bytes600 FullExtra()
{
    Bytes600 extra = HandExtra("line1\r\nline2\nline3");
    Put(extra, 400, "C:\\doc.txt", 72);
    return extra;
}

class CsvExport : public test::StoreTest
{
protected:
    std::string out() const { return dir.str() + "/out.csv"; }

    // Writes the main and extra files from records 2.. and opens the database as the export finds it.
    void writeDatabase(const std::vector<Bytes600>& records, const std::vector<Bytes600>& extras = {})
    {
        const auto last = static_cast<std::int32_t>(records.size() + 1);
        std::vector<Bytes600> main{HandMainHeader(last)};
        main.insert(main.end(), records.begin(), records.end());
        test::WriteRecords(mainPath(), main);
        std::vector<Bytes600> extra{HandExtraHeader(last)};
        extra.insert(extra.end(), extras.begin(), extras.end());
        test::WriteRecords(extraPath(), extra);
        ASSERT_EQ(OpenDatabase(state, DbAccess::ReadOnly), LoadResult::Loaded);
    }

    ExportOutcome exportTo(ExportScope scope, CsvWriteEncoding encoding, std::vector<std::int32_t> records = {})
    {
        CsvExportJob job{scope, out(), encoding, std::move(records), false};
        ui.yesNoAnswers.push_back(true);
        return ExportCsv(state, job);
    }
};

TEST_F(CsvExport, OneRecordGivesExactlyTheseBytes)
{
    writeDatabase({FullRecord()}, {FullExtra()});
    ASSERT_EQ(exportTo(ExportScope::Listed, CsvWriteEncoding::Cp932, {2}), ExportOutcome::Written);

    const std::string line = "\"\xD4\xCF\xC0\xDE\",\"\x8E\x52\x93\x63\"\"\x91\xBE\x98\x59\",\"a@b.jp\",\"1965/04/12\","
                             "\"C1\",\"100-0001\",\"TokyoChiyoda\",\"03-1111-2222\",\"03-1111-3333\",\"530-0001\","
                             "\"Osaka\",\"06-1111-2222\",\"06-1111-3333\",\"ACME\",\"Sales\",\"memo\","
                             "\"line1line2line3\",\"C:\\doc.txt\"\r\n";
    const std::string file = test::ReadFileText(out());
    const std::size_t headerEnd = file.find("\r\n") + 2;
    EXPECT_EQ(file.substr(headerEnd), line);
    EXPECT_EQ(FromCp932(file.substr(0, headerEnd)), HeaderText);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"1件のデータが出力されました。"});
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].text, out() + " へ\r検索結果を出力してもよろしいですか？");
    EXPECT_EQ(ui.shown[0].title, "確認");
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(CsvExport, Utf8FileHasABomAndShowsUndecodableBytesAsReplacementCharacters)
{
    // 0x80 does not decode; 0x82 at the end of the name is half a cut double-byte character.
    Bytes600 rec = HandAddress("\xB1", "A\x80"
                                       "B\x82");
    writeDatabase({rec}, {HandExtra("")});
    ASSERT_EQ(exportTo(ExportScope::WholeDatabase, CsvWriteEncoding::Utf8), ExportOutcome::Written);
    const std::string expected = "\xEF\xBB\xBF" + HeaderText +
                                 "\"ｱ\",\"A\xEF\xBF\xBD"
                                 "B\xEF\xBF\xBD\",\"\",\"0000/00/00\",\"\",\"\",\"\",\"\",\"\",\"\","
                                 "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(test::ReadFileText(out()), expected);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"1 件のデータが出力されました。"});

    // The CP932 file keeps such bytes as they are stored.
    ui.shown.clear();
    ASSERT_EQ(exportTo(ExportScope::WholeDatabase, CsvWriteEncoding::Cp932), ExportOutcome::Written);
    EXPECT_NE(test::ReadFileText(out()).find("\"A\x80"
                                             "B\x82\""),
              std::string::npos);
}

TEST_F(CsvExport, WholeDatabaseComesInGroupOrderPastAFullGroupAndSkipsDeletedSlots)
{
    // 3001 readings in group あ (ｱ), more than a list group holds; one ｲ before them in the file, one
    // Latin (他) first of all, a deleted slot, and readings that differ only after the first byte.
    std::vector<Bytes600> records{HandAddress("ABC", "other"), HandAddress("\xB2", "i")};
    Bytes600 deleted = HandAddress("\xB1\xB1", "gone");
    deleted[0] = 0xFF;
    records.push_back(deleted);
    for (int i = 0; i < 3001; ++i) {
        records.push_back(HandAddress(i == 0 ? "\xB1\xB2" : "\xB1\xB1", "a" + std::to_string(i)));
    }
    writeDatabase(records);
    ASSERT_EQ(exportTo(ExportScope::WholeDatabase, CsvWriteEncoding::Cp932), ExportOutcome::Written);

    std::vector<std::string> names;
    std::istringstream file(test::ReadFileText(out()));
    for (std::string line; std::getline(file, line);) {
        const std::size_t begin = line.find("\",\"") + 3;
        names.push_back(line.substr(begin, line.find('"', begin) - begin));
    }
    ASSERT_EQ(names.size(), 1 + 3001 + 2u); // header, group あ, ｲ, the Latin reading
    EXPECT_EQ(names[1], "a1");              // ｱｱ before ｱｲ; equal readings by record number
    EXPECT_EQ(names[3000], "a3000");
    EXPECT_EQ(names[3001], "a0");
    EXPECT_EQ(names[3002], "i");
    EXPECT_EQ(names[3003], "other");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"3003 件のデータが出力されました。"});
}

TEST_F(CsvExport, EmptyDatabaseGivesAnEmptyFileAndAResultExportStillHasItsHeader)
{
    writeDatabase({});
    ASSERT_EQ(exportTo(ExportScope::WholeDatabase, CsvWriteEncoding::Cp932), ExportOutcome::Written);
    EXPECT_EQ(test::ReadFileText(out()), "");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"0 件のデータが出力されました。"});
    ASSERT_EQ(exportTo(ExportScope::Listed, CsvWriteEncoding::Utf8), ExportOutcome::Written);
    EXPECT_EQ(test::ReadFileText(out()), "\xEF\xBB\xBF" + HeaderText);
}

TEST_F(CsvExport, NoWritesNothing)
{
    writeDatabase({HandAddress("\xB1", "a")});
    CsvExportJob job{ExportScope::WholeDatabase, out(), CsvWriteEncoding::Cp932, {}, false};
    ui.yesNoAnswers.push_back(false);
    EXPECT_EQ(ExportCsv(state, job), ExportOutcome::Declined);
    EXPECT_FALSE(std::filesystem::exists(out()));
    EXPECT_TRUE(ui.messages().empty());
}

// The file may grow to this size only, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

TEST_F(CsvExport, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    writeDatabase({FullRecord()}, {FullExtra()});
    test::WriteFileBytes(out(), {'o', 'l', 'd'});
    {
        FileSizeLimit limit(100);
        EXPECT_EQ(exportTo(ExportScope::WholeDatabase, CsvWriteEncoding::Cp932), ExportOutcome::Failed);
    }
    EXPECT_EQ(test::ReadFileText(out()), "old");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 3u); // the two database files and the old export
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text, "出力時にエラーが発生しました。");
    EXPECT_EQ(ui.shown[1].icon, MessageIcon::Critical);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(CsvExport, TheDatabasesOwnFilesAreRefusedUnderAnyName)
{
    writeDatabase({FullRecord()}, {FullExtra()});
    const std::string link = dir.str() + "/other-name.csv";
    ASSERT_EQ(::link(extraPath().c_str(), link.c_str()), 0);
    const auto before = test::ReadFileBytes(mainPath());
    for (const std::string& target : {mainPath(), link}) {
        ui.shown.clear();
        CsvExportJob job{ExportScope::WholeDatabase, target, CsvWriteEncoding::Cp932, {}, true};
        ui.yesNoAnswers.push_back(true);
        EXPECT_EQ(ExportCsv(state, job), ExportOutcome::Failed) << target;
        EXPECT_EQ(ui.messages(), std::vector<std::string>{"出力時にエラーが発生しました。\r\n"
                                                          "データベースのファイルには出力できません。"});
    }
    EXPECT_EQ(test::ReadFileBytes(mainPath()), before);
    EXPECT_EQ(test::ReadFileBytes(extraPath()).size(), 2 * 512u);
}

TEST_F(CsvExport, TheSaveDialogOffersBothEncodingsAndBusyHoldsForTheWholeRun)
{
    writeDatabase({HandAddress("\xB1", "a")});
    ui.fileAnswers.push_back(out());
    ui.fileTypeAnswers.push_back(1);
    ui.yesNoAnswers.push_back(true);
    bool busyMeanwhile = false;
    RunExport(state, ExportFormat::Csv, ExportScope::WholeDatabase, {},
              [&](std::size_t, std::size_t) { busyMeanwhile = state.Busy; });
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(state.Busy);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].title, "出力ＣＳＶファイルの設定");
    EXPECT_EQ(ui.shown[0].text, "ＣＳＶ (*.CSV);;ＣＳＶ UTF-8 (*.csv *.CSV);;すべて(*.*)");
    EXPECT_EQ(test::ReadFileText(out()).substr(0, 3), "\xEF\xBB\xBF");

    // Cancel in the dialog: nothing asked, nothing written.
    std::filesystem::remove(out());
    ui.shown.clear();
    ui.fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(RunExport(state, ExportFormat::Csv, ExportScope::Listed, {2}), ExportOutcome::Cancelled);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "出力先ファイルの設定");
    EXPECT_FALSE(std::filesystem::exists(out()));
}

} // namespace
} // namespace talik
