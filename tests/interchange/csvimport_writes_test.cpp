// The import's writes: records go to the files many at a time, and whatever befalls a write - a
// disk that fills up, a program ended in the middle of one - the database holds whole records of
// the first lines only, and the report tells exactly how far the import got.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "interchange/csvimport.h"
#include "platform/codec.h"
#include "platform/recordfile.h"
#include "store/database.h"
#include "store/recordwriter.h"
#include "tests/support/fillingdisk.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

struct ProgramEnded
{
};

// A disk with room for `room` more bytes (rewriting what a file holds takes none), on which the
// program may also end: write `endAt` puts down the first half of its bytes, and the program ends
// as it comes to its next write.
class Disk final : public FillingDisk
{
public:
    explicit Disk(std::uintmax_t room, int endAt = 0) : FillingDisk(room), m_endAt(endAt) {}
    std::size_t admit(const std::string& path, std::int64_t offset, std::size_t size) override
    {
        ++m_writes;
        if (ended) {
            throw ProgramEnded{};
        }
        if (m_writes == m_endAt) {
            ended = true;
            return size / 2;
        }
        return FillingDisk::admit(path, offset, size);
    }
    bool ended = false;

private:
    int m_endAt;
    int m_writes = 0;
};

constexpr std::uintmax_t Unlimited = std::uintmax_t(1) << 40;

class CsvImportWritesTest : public StoreTest
{
protected:
    CsvImportWritesTest() { load(); }

    // Line n: its own reading, name, e-mail and remarks (near the record's end); line 3 has no
    // reading.
    static std::string Lines(int count)
    {
        std::string file;
        for (int n = 1; n <= count; ++n) {
            file += n == 3 ? "\"\",\"名前\",\"\"\r\n" : LineOf(n);
        }
        return ToCp932(file);
    }
    static std::string LineOf(int n)
    {
        const std::string number = std::to_string(n);
        return "\"ｻ" + number + "\",\"名前" + number + "\",\"p" + number + "@example.jp\"" + std::string(12, ',') +
               ",\"備考" + number + "\"\r\n";
    }
    static std::string Expected(int n)
    {
        const std::string number = std::to_string(n);
        return "ｻ" + number + "|名前" + number + "|p" + number + "@example.jp|備考" + number;
    }

    // An empty database; or one person under a header whose last record number is unusable, so
    // that a load counts the records the file holds.
    void startAfresh(bool unusableLast = false)
    {
        std::filesystem::remove(mainPath());
        std::filesystem::remove(extraPath());
        if (unusableLast) {
            WriteRecords(mainPath(), {HandMainHeader(0), HandAddress("\xb1", "one")});
            WriteRecords(extraPath(), {HandExtraHeader(0), HandExtra("")});
        }
        load();
        ui.shown.clear();
    }

    // The records a load shows, each as "reading|name|mail|remarks", in record order.
    std::vector<std::string> storedOnDisk()
    {
        load();
        std::vector<std::string> stored;
        const auto records =
            static_cast<std::int32_t>((std::filesystem::file_size(mainPath()) + MainRecLen - 1) / MainRecLen);
        for (std::int32_t recNo = 2; recNo <= records; ++recNo) {
            AddressRecord rec{};
            ExtraRecord extra{};
            if (state.tables.usedFlag(recNo) == '1' && ReadRecord(state, recNo, rec, extra)) {
                stored.push_back(GetText(rec.KanaName) + "|" + GetText(rec.KanjiName) + "|" + GetText(rec.EMail) + "|" +
                                 GetText(rec.Remarks));
            }
        }
        return stored;
    }

    // The lines up to `lines` that have a reading, as storedOnDisk() shows them.
    static std::vector<std::string> FirstLines(int lines)
    {
        std::vector<std::string> expected;
        for (int n = 1; n <= lines; ++n) {
            if (n != 3) {
                expected.push_back(Expected(n));
            }
        }
        return expected;
    }
};

TEST_F(CsvImportWritesTest, ThousandsOfLinesComeInOrderAndLaterLinesFindEarlierPeople)
{
    constexpr int Total = 1300;
    // Line 1250 is the person of line 7 again.
    std::string file = Lines(Total) + ToCp932(LineOf(7));
    CsvImportOptions options;
    options.onDuplicate = DuplicateAction::Skip;
    ImportCounts result = ImportCsvFile(state, file, options);
    EXPECT_EQ(result.stoppedAt, 0);
    EXPECT_EQ(result.lines, Total + 1);
    EXPECT_EQ(result.failures, 1);
    ASSERT_EQ(result.skippedDuplicates.count, 1);
    EXPECT_EQ(result.skippedDuplicates.first[0], Total + 1);
    EXPECT_EQ(state.tables.TotalCount, Total - 1);
    EXPECT_EQ(storedOnDisk(), FirstLines(Total));
}

TEST_F(CsvImportWritesTest, OnAFillingDiskTheReportTellsExactlyWhatTheFilesHold)
{
    constexpr int Total = 12;
    for (std::uintmax_t room = 0; room <= 14 * (MainRecLen + ExtraRecLen); room += 700) {
        SCOPED_TRACE("room " + std::to_string(room));
        startAfresh();
        Disk disk(room);
        state.writeGate = &disk;
        ImportCounts result = ImportCsvFile(state, Lines(Total), {});
        state.writeGate = nullptr;
        const int inTables = state.tables.TotalCount;
        std::vector<std::string> stored = storedOnDisk();
        EXPECT_EQ(inTables, static_cast<int>(stored.size())); // the open tables followed the files
        if (result.stoppedAt == 0) {
            EXPECT_EQ(stored, FirstLines(Total));
            continue;
        }
        // Every line before the one it stopped at is in, whole; that one and those after are not.
        EXPECT_EQ(stored, FirstLines(result.stoppedAt - 1));
        EXPECT_EQ(ImportStoppedReport(result).substr(0, ImportStoppedReport(result).find(' ')),
                  std::to_string(stored.size()));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_NE(ui.messages()[0].find("への書き込みに失敗しました。"), std::string::npos);
    }
}

TEST_F(CsvImportWritesTest, EndedInTheMiddleOfAnyWriteTheImportLeavesWholeRecordsOfItsFirstLines)
{
    constexpr int Total = 8;
    for (bool unusableLast : {false, true}) {
        for (int endAt = 1;; ++endAt) {
            SCOPED_TRACE("ended at write " + std::to_string(endAt) + (unusableLast ? ", last unusable" : ""));
            startAfresh(unusableLast);
            Disk disk(Unlimited, endAt);
            state.writeGate = &disk;
            try {
                ImportCsvFile(state, Lines(Total), {});
            } catch (const ProgramEnded&) {
            }
            state.writeGate = nullptr;
            std::vector<std::string> stored = storedOnDisk();
            std::vector<std::string> expected = FirstLines(Total);
            if (unusableLast) {
                expected.insert(expected.begin(), "ｱ|one||");
            }
            if (!disk.ended) {
                EXPECT_EQ(stored, expected);
                EXPECT_GT(endAt, 3);
                break;
            }
            // Every record the load shows is one of them, whole.
            EXPECT_EQ(state.tables.TotalCount, static_cast<int>(stored.size()));
            ASSERT_LE(stored.size(), expected.size());
            expected.resize(stored.size());
            EXPECT_EQ(stored, expected);
            if (HasFailure()) {
                return;
            }
        }
    }
}

} // namespace
} // namespace talik::test
