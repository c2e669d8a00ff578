#pragma once
// vCard export: the whole open database or listed records as one vCard file (3.0 or 4.0), written
// whole or not at all, with the same questions and count messages as the CSV export.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "listwin/csvexport.h"
#include "listwin/vcardwrite.h"

namespace talik {

struct AppState;

// The cards of a file and their number.
using VcardText = CsvText;

// Every live record in list order (index group, reading, record number); nullopt when a database
// file could not be read (the user was told).
std::optional<VcardText> WholeDatabaseVcard(AppState& state, VcardVersion version, const CsvProgress& progress = {});
// The records `recNos`, in that order.
std::optional<VcardText> ListedRecordsVcard(AppState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const CsvProgress& progress = {});

struct VcardExportJob
{
    CsvScope scope = CsvScope::WholeDatabase;
    std::string path;
    VcardVersion version = VcardVersion::V3;
    std::vector<std::int32_t> records;
    bool tellReason = false; // the failure message names the system's reason (talikcli)
};

// The save dialog: the file and the version. nullopt when the user cancelled.
std::optional<VcardExportJob> ChooseVcardTarget(Interaction& ui, CsvScope scope);

// Asks, writes the whole file or nothing, and tells the count or the failure.
CsvExportOutcome ExportVcard(AppState& state, const VcardExportJob& job, const CsvProgress& progress = {});

// What the windows run: the save dialog, then the export, with Busy set for the whole of it.
CsvExportOutcome RunVcardExport(AppState& state,
                                CsvScope scope,
                                const std::vector<std::int32_t>& records,
                                const CsvProgress& progress = {});

} // namespace talik
