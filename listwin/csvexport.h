#pragma once
// CSV export: the whole open database or listed records, as the file the CSV import reads back.
//
// One header line, then one line per record, CR LF after each; every line has the 18 fields of the
// record in a fixed order, each in double quotes, separated by commas. An embedded double quote is
// doubled and every CR and LF is removed from every field, so no field can break the columns or
// the lines of the file. The CP932 file is built from the stored bytes as they are; the UTF-8 file
// starts with a BOM and shows a stored byte that does not decode as U+FFFD.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace talik {

struct AppState;
class Interaction;

enum class CsvEncoding
{
    Cp932, // Shift-JIS as Windows writes it: the file older copies of the program read
    Utf8,
};

inline constexpr int CsvFieldCount = 18;

// The header line, CR LF included.
std::string CsvHeaderLine(CsvEncoding encoding);
// Appends the line of one record, CR LF included. `formulaSafe` puts a "'" ahead of every field a
// spreadsheet would evaluate (listwin/formulasafe.h); off, the line is as older copies wrote it.
void AppendCsvLine(std::string& out,
                   const AddressRecord& rec,
                   const ExtraRecord& extra,
                   CsvEncoding encoding,
                   bool formulaSafe = false);

// `done` of `total` steps of an export taken so far.
using CsvProgress = std::function<void(std::size_t done, std::size_t total)>;

// The bytes of a CSV file and the number of record lines in it.
struct CsvText
{
    std::string bytes;
    std::size_t records = 0;
};

// Every live record of the open database from one scan of its files, in the order of the lists:
// index group あ..他, reading, record number. An empty database gives no line at all (the header
// goes ahead of the first record). nullopt when a database file could not be read (the user was told).
std::optional<CsvText>
WholeDatabaseCsv(AppState& state, CsvEncoding encoding, const CsvProgress& progress = {}, bool formulaSafe = false);
// The records `recNos`, in that order, after the header.
std::optional<CsvText> ListedRecordsCsv(AppState& state,
                                        const std::vector<std::int32_t>& recNos,
                                        CsvEncoding encoding,
                                        const CsvProgress& progress = {},
                                        bool formulaSafe = false);

// True when `path` names one of the open database's own files (the same device and inode, through
// any link or spelling).
bool IsOwnDatabaseFile(const AppState& state, const std::string& path);

enum class CsvScope
{
    WholeDatabase, // the list window's "全件ＣＳＶデータ出力"
    Listed,        // the search result's "ＣＳＶ出力"
};

struct CsvExportJob
{
    CsvScope scope = CsvScope::WholeDatabase;
    std::string path;
    CsvEncoding encoding = CsvEncoding::Cp932;
    std::vector<std::int32_t> records; // the listed records, in their order
    bool tellReason = false;           // the failure message names the system's reason (talikcli)
    bool formulaSafe = false;          // fields a spreadsheet would evaluate get a leading "'"
};

// The save dialog of an export: the file, its encoding and the box "表計算ソフト用に安全な形で出力".
// nullopt when the user cancelled.
std::optional<CsvExportJob> ChooseCsvTarget(Interaction& ui, CsvScope scope);

enum class CsvExportOutcome
{
    Written,
    Cancelled, // the save dialog was cancelled
    Declined,  // the user answered No
    Failed,    // the user was told
};

// Asks before writing, writes the whole file or nothing (the old file stays on any failure, and no
// temporary file is left), and tells the count or the failure.
CsvExportOutcome ExportCsv(AppState& state, const CsvExportJob& job, const CsvProgress& progress = {});

// What the windows run: the save dialog, then the export, with Busy set for the whole of it so the
// list window takes no input meanwhile.
CsvExportOutcome RunCsvExport(AppState& state,
                              CsvScope scope,
                              const std::vector<std::int32_t>& records,
                              const CsvProgress& progress = {});

} // namespace talik
