#pragma once
// The list windows' export: either format, the whole database or the listed records, with the
// list window kept busy for the whole of it so it takes no input meanwhile.
#include <cstdint>
#include <vector>

#include "interchange/csvexport.h"

namespace talik {

struct AppState;

enum class ExportFormat
{
    Csv,
    Vcard,
};

ExportOutcome RunExport(AppState& state,
                        ExportFormat format,
                        ExportScope scope,
                        const std::vector<std::int32_t>& records,
                        const FileProgress& progress = {});

} // namespace talik
