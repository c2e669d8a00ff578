#pragma once
// What the CSV and vCard exports share: the open database's records read in list order or in a given
// order, each turned into text by the format, and the question, the write and the messages around
// the file.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "listwin/csvexport.h"

namespace talik {

// Appends the text of one record (a CSV line, a card).
using AppendRecordText = std::function<void(std::string& out, const AddressRecord& rec, const ExtraRecord& extra)>;
// The bytes that go ahead of `records` records.
using ExportHead = std::function<std::string(std::size_t records)>;

// Every live record of the open database from one scan of its files, in list order, after the
// head. nullopt when a database file could not be read (the user was told).
std::optional<CsvText>
WholeDatabaseText(AppState& state, const AppendRecordText& append, const ExportHead& head, const CsvProgress& progress);
// The records `recNos`, in that order, after `head`.
std::optional<CsvText> ListedRecordsText(AppState& state,
                                         const std::vector<std::int32_t>& recNos,
                                         const AppendRecordText& append,
                                         std::string head,
                                         const CsvProgress& progress);

// Where an export goes and how its failure is told.
struct ExportTarget
{
    CsvScope scope = CsvScope::WholeDatabase;
    std::string path;
    bool tellReason = false; // the failure message names the system's reason (talikcli)
};

// Asks before writing, builds the text (never into one of the database's own files), writes the
// whole file or nothing, and tells the count or the failure.
CsvExportOutcome
WriteExport(AppState& state, const ExportTarget& target, const std::function<std::optional<CsvText>()>& build);

} // namespace talik
