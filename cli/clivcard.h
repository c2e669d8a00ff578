#pragma once
// The vCard side of talikcli export and import.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "interchange/importfill.h"
#include "interchange/vcardwrite.h"

namespace talik {

struct AppState;

// "3" or "4"; nullopt for anything else.
std::optional<VcardVersion> ParseVcardVersion(const std::string& text);

// Writes the database (or `records`, when given) to `path` as vCards; an exit code.
int ExportVcardFile(AppState& state,
                    const std::string& path,
                    VcardVersion version,
                    const std::optional<std::vector<std::int32_t>>& records);

// Imports the cards of `bytes` (read from `path`), each record with the check items `checks` and
// what `fill` fills in; an exit code. A file without BEGIN:VCARD is refused before the database is touched.
int ImportVcardBytes(AppState& state,
                     const std::string& path,
                     const std::string& bytes,
                     const std::array<char, 15>& checks,
                     const ImportRecordFill& fill = {});

} // namespace talik
