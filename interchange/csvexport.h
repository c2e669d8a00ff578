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

#include "interchange/common.h"
#include "store/record.h"

namespace talik {

struct StoreState;
class Interaction;

enum class CsvWriteEncoding
{
    Cp932, // Shift-JIS as Windows writes it: the file older copies of the program read
    Utf8,
};

inline constexpr int CsvFieldCount = 18;

// The header line, CR LF included.
std::string CsvHeaderLine(CsvWriteEncoding encoding);
// Appends the line of one record, CR LF included. `formulaSafe` puts a "'" ahead of every field a
// spreadsheet would evaluate (interchange/formulasafe.h); off, the line is as older copies wrote it.
void AppendCsvLine(std::string& out,
                   const AddressRecord& rec,
                   const ExtraRecord& extra,
                   CsvWriteEncoding encoding,
                   bool formulaSafe = false);

// Every live record of the open database from one scan of its files, in the order of the lists:
// index group あ..他, reading, record number. An empty database gives no line at all (the header
// goes ahead of the first record). nullopt when a database file could not be read (the user was told).
std::optional<ExportedText> WholeDatabaseCsv(StoreState& state,
                                             CsvWriteEncoding encoding,
                                             const FileProgress& progress = {},
                                             bool formulaSafe = false);
// The records `recNos`, in that order, after the header.
std::optional<ExportedText> ListedRecordsCsv(StoreState& state,
                                             const std::vector<std::int32_t>& recNos,
                                             CsvWriteEncoding encoding,
                                             const FileProgress& progress = {},
                                             bool formulaSafe = false);

// True when `path` names one of the open database's own files (the same device and inode, through
// any link or spelling).
bool IsOwnDatabaseFile(const StoreState& state, const std::string& path);

struct CsvExportJob : ExportJob<CsvWriteEncoding>
{
    bool formulaSafe = false; // fields a spreadsheet would evaluate get a leading "'"
};

// The save dialog of an export: the file, its encoding and the box "表計算ソフト用に安全な形で出力".
// nullopt when the user cancelled.
std::optional<CsvExportJob> ChooseCsvTarget(Interaction& ui, ExportScope scope);

// Asks before writing, writes the whole file or nothing (the old file stays on any failure, and no
// temporary file is left), and tells the count or the failure.
ExportOutcome ExportCsv(StoreState& state, const CsvExportJob& job, const FileProgress& progress = {});

// The save dialog, then the export (the windows keep their list busy around it).
ExportOutcome RunCsvExport(StoreState& state,
                           ExportScope scope,
                           const std::vector<std::int32_t>& records,
                           const FileProgress& progress = {});

} // namespace talik
