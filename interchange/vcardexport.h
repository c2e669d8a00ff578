#pragma once
// vCard export: the whole open database or listed records as one vCard file (3.0 or 4.0), written
// whole or not at all, with the same questions and count messages as the CSV export.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "interchange/common.h"
#include "interchange/csvexport.h"
#include "interchange/vcardwrite.h"

namespace talik {

struct StoreState;

// The cards of a file and their number.
using VcardText = ExportedText;

// Every live record in list order (index group, reading, record number); nullopt when a database
// file could not be read (the user was told).
std::optional<VcardText> WholeDatabaseVcard(StoreState& state, VcardVersion version, const FileProgress& progress = {});
// The records `recNos`, in that order.
std::optional<VcardText> ListedRecordsVcard(StoreState& state,
                                            const std::vector<std::int32_t>& recNos,
                                            VcardVersion version,
                                            const FileProgress& progress = {});

using VcardExportJob = ExportJob<VcardVersion>;

// The save dialog: the file and the version. nullopt when the user cancelled.
std::optional<VcardExportJob> ChooseVcardTarget(Interaction& ui, ExportScope scope);

// Asks, writes the whole file or nothing, and tells the count or the failure.
ExportOutcome ExportVcard(StoreState& state, const VcardExportJob& job, const FileProgress& progress = {});

// The save dialog, then the export (the windows keep their list busy around it).
ExportOutcome RunVcardExport(StoreState& state,
                             ExportScope scope,
                             const std::vector<std::int32_t>& records,
                             const FileProgress& progress = {});

} // namespace talik
