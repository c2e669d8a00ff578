#pragma once
// CSV import: every line of a file becomes a new address, its columns put into record fields as
// the mapping says. The file is read whole; records are stored one by one through the data store.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/csvread.h"
#include "listwin/importfill.h"
#include "store/kana.h"

namespace talik {

struct AppState;
struct FieldCaptions;

// The importable fields, in slot order (the column order of the export).
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
};
inline constexpr int CsvSlotTotal = 18;

// For each slot, the 1-based CSV column it takes, 0 for none.
using CsvMap = std::array<int, CsvSlotTotal>;
// Slot i takes column i + 1: an exported file reads back as it is.
CsvMap DefaultCsvMap();

// The export's header line, as text (its fields quoted, no line end).
std::string CsvHeaderLine();
// The header names of the export, slot by slot.
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
};

// The first line of a file as the mapping dialog shows it: its text, its fields, and whether it is
// the export's own header.
struct CsvPreview
{
    std::string line;
    std::vector<std::string> fields;
    bool isExportHeader = false;
};
CsvPreview PreviewCsv(std::string_view file, CsvFileEncoding encoding);

// Birthday text "yyyy?mm?dd" (exactly ten bytes, ASCII digits in place, month 00..12, day 00..31)
// as the stored number yyyymmdd; 0 for anything else.
std::int32_t ParseCsvBirthday(std::string_view cp932);

struct CsvImportResult
{
    int lines = 0;        // lines read, the skipped first line not counted
    int failures = 0;     // lines not stored: no reading, or one that would read as deleted
    int lackingLines = 0; // UTF-8 lines with characters CP932 lacks, stored with "?"
    int stoppedAt = 0;    // the line at which storing failed; 0 when the import ran to the end
    int filledLines = 0;  // lines stored with a postal code or address filled in
};

// Called now and then with the bytes read so far and the file's size.
using CsvProgress = std::function<void(std::size_t done, std::size_t total)>;

// Stores every line of `file` as a new record of the open database (the tables loaded), each
// mirrored into the tables and into the main list when its group is shown there; then the count
// texts follow. A full kana group is told once per group. The file must not be unreadable (see
// DetectCsvEncoding).
CsvImportResult ImportCsvFile(AppState& state,
                              std::string_view file,
                              const CsvImportOptions& options,
                              const CsvProgress& progress = {});

// After a record of an import was saved: it enters the tables and the shown list. A full kana
// group keeps it in the file only, told once per group (`toldFull`, indexed by group).
void ReflectImported(AppState& state, std::array<bool, GroupTotal>& toldFull);
// The main window's title and count line after an import.
void UpdateTitleAfterImport(AppState& state);

// The report after an import that ran to the end; `readingCaption` is the reading field's caption.
std::string CsvImportReport(const CsvImportResult& result, std::string_view readingCaption);
// What follows the store's own message when an import stopped early.
std::string CsvStoppedReport(const CsvImportResult& result);

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
inline constexpr std::string_view CsvConfirmTitle = "確認";
inline constexpr std::string_view PostalFilledReport = " 件は郵便番号か住所を郵便番号データで補いました。";

// Reads a whole file into `bytes`; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace talik
