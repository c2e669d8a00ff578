#pragma once
// CSV import: every line of a file becomes a new address, its columns put into record fields as
// the mapping says. The file is read whole; records are stored through the data store, many new
// ones to a write, each whole or not at all.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/csvcolumns.h"
#include "interchange/csvread.h"
#include "interchange/importfill.h"
#include "interchange/importreport.h"
#include "store/kana.h"

namespace talik {

struct StoreState;
struct FieldCaptions;

// The importable fields, in slot order (the column order of the export).
// What an import does with a person the database already holds (a match of high confidence).
enum class DuplicateAction
{
    Add,  // stored as a new record all the same
    Skip, // not stored
    Fill, // the existing record's empty fields filled; differing values noted in its remarks extra data
};

enum class CsvSlot
{
    KanaName,
    KanjiName,
    EMail,
    Birthday,
    ClassCode,
    PostCode1,
    Address1,
    Tel1,
    Fax1,
    PostCode2,
    Address2,
    Tel2,
    Fax2,
    Company,
    Department,
    Remarks,
    RemarksExtra,
    RelatedInfo,
    JointNames, // 連名: kept in the side store, not in the record
};
inline constexpr int CsvSlotTotal = 19;
// The slots the export writes, one column each.
inline constexpr int CsvExportSlotTotal = 18;

// For each slot, the 1-based CSV columns it takes, joined in order; none for no column.
using CsvMap = std::array<CsvColumns, CsvSlotTotal>;
// Slot i takes column i + 1: an exported file reads back as it is.
CsvMap DefaultCsvMap();
// The map with a single column for each slot (0 for none), as older callers give it.
CsvMap SingleColumnMap(const std::vector<int>& columns);

// The export's header line, as text (its fields quoted, no line end).
std::string CsvHeaderLine();
// The header names of the export, slot by slot ("連名" for the joint names, which it does not write).
std::string_view CsvHeaderName(int slot);

struct CsvImportOptions
{
    CsvMap map = DefaultCsvMap();
    bool skipFirst = false;
    CsvEncoding encoding = CsvEncoding::Auto;
    bool halfKana = false; // readings through the half-width conversion
    std::array<char, 15> checkItems = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    bool fillPostal = false; // asked for: the caller opens the postal code list and sets `fill`
    ImportRecordFill fill;   // empty: nothing is filled (the default)
    DuplicateAction onDuplicate = DuplicateAction::Add;
};

// The first line of a file as the mapping dialog shows it: its text, its fields, whether it is
// the export's own header, and the columns guessed from it when it is a header line we know.
struct CsvPreview
{
    std::string line;
    std::vector<std::string> fields;
    bool isExportHeader = false;
    std::optional<CsvMap> guessed;
};
CsvPreview PreviewCsv(std::string_view file, CsvFileEncoding encoding);

// Birthday text "yyyy?mm?dd" (exactly ten bytes, ASCII digits in place, month 00..12, day 00..31)
// as the stored number yyyymmdd; 0 for anything else.
std::int32_t ParseCsvBirthday(std::string_view cp932);

struct ImportCounts
{
    int lines = 0;        // lines read, the skipped first line not counted
    int failures = 0;     // lines not stored: no reading, or one that would read as deleted
    int lackingLines = 0; // UTF-8 lines with characters CP932 lacks, stored with "?"
    int stoppedAt = 0;    // the line at which storing failed; 0 when the import ran to the end
    // Where in the file (its lines, the first line 1): the lines not stored, those stored with "?",
    // and those stored without the birthday they gave.
    NotedLines skippedLines;
    NotedLines lackingAt;
    NotedLines unreadBirthdays;
    int filledLines = 0; // lines stored with a postal code or address filled in
    // Lines whose person the database already held: not stored, filling the stored record, or
    // stored as new records all the same.
    NotedLines skippedDuplicates;
    NotedLines filledDuplicates;
    NotedLines addedDuplicates;
};

// Stores every line of `file` as a new record of the open database (the tables loaded) through
// one writer; the change is published when the import ends. A full kana group is told once per group. The file must not
// be unreadable (see DetectCsvEncoding).
ImportCounts ImportCsvFile(StoreState& state,
                           std::string_view file,
                           const CsvImportOptions& options,
                           const FileProgress& progress = {});

// The report after an import that ran to the end: the records stored, then what was skipped or
// changed, naming the first lines; `readingCaption` is the reading field's caption.
std::string ImportReport(const ImportCounts& result, std::string_view readingCaption);
// What follows the store's own message when an import stopped early.
std::string ImportStoppedReport(const ImportCounts& result);

// The caption beside slot `slot` in the mapping dialog: the field captions of the settings, and
// fixed ones for the telephone, fax, extra-data and related-information slots.
std::string CsvSlotCaption(const FieldCaptions& captions, int slot);
// What OK in the mapping dialog says when the reading has no column.
std::string CsvReadingRequiredMessage(const FieldCaptions& captions);

// The messages and questions of the import.
std::string CsvImportQuestion(const std::string& path);
inline constexpr std::string_view CsvUnreadableMessage =
    "ＣＳＶファイルとして読めません。\r\nUTF-16・UTF-32 のファイルや NUL 文字を含むファイルは取込めません。";
inline constexpr std::string_view CsvReadErrorMessage = "入力時にエラーが発生しました。";
inline constexpr std::string_view CsvOpenTitle = "入力ＣＳＶファイル設定";
inline constexpr std::string_view CsvOpenFilter = "ＣＳＶ (*.CSV *.csv);;すべて(*.*) (*)";
inline constexpr std::string_view ImportConfirmTitle = "確認";
inline constexpr std::string_view PostalFilledReport = "郵便番号か住所を郵便番号データで補いました。";
inline constexpr std::string_view DuplicateAddedReport = "登録済みの人と同じと見られますが、新しく取込みました。";
inline constexpr std::string_view DuplicateSkippedReport = "登録済みの人と同じため取込みませんでした。";
inline constexpr std::string_view DuplicateFilledReport = "登録済みの人と同じため、その空欄を補いました。";

} // namespace talik
