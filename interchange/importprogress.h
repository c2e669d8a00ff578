#pragma once
// What the CSV and vCard imports share as the list window runs them: the file read whole or refused
// with a message, and the import under a progress dialog.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "interchange/importfill.h"
#include "platform/interaction.h"
#include "postal/postalindex.h"

class QWidget;

namespace talik {

struct AppState;

// The file, read whole; nullopt after the user was told it cannot be read or `accepts` refused it
// (then `refusal` is shown).
std::optional<std::string> ReadImportFile(AppState& state,
                                          const std::string& path,
                                          const std::function<bool(const std::string& bytes)>& accepts,
                                          std::string_view refusal);

// The caption of the imports' option to fill postal codes and addresses from the postal code list.
inline constexpr const char* PostalFillCaption = "ない郵便番号・住所を郵便番号データで補う";
// Opens the postal code list into `index` for an import that asked for it, and gives the fill that
// uses it; an empty fill after the user was told the list cannot be had.
ImportRecordFill PostalFillFor(AppState& state, std::optional<PostalIndex>& index);

using ImportStep = std::function<void(std::size_t done, std::size_t total)>;

// Runs `import` with a progress dialog (named `objectName`, showing `label`) that shows itself only
// for a run that takes a while; it cannot be cancelled, as the records stored so far stay stored.
void RunWithImportProgress(AppState& state,
                           const char* label,
                           const char* objectName,
                           QWidget* parent,
                           const std::function<void(const ImportStep& step)>& import);

} // namespace talik
