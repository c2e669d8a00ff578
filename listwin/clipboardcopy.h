#pragma once
// Copying a record to the clipboard in one of the four user-defined copy settings, and the rules of
// the dialog that edits them.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "listwin/listmodel.h"
#include "store/record.h"
#include "store/settings.h"

namespace talik {

struct AppState;

inline constexpr int CopyItemTotal = 18;          // item codes 01..18, and as many slots
inline constexpr std::size_t CopyTitleBytes = 30; // the display name, CP932 bytes

// A copy definition taken apart: the separator code (0 none, 1 space, 2 line break; -1 any other
// code, which separates with nothing) and the item codes in output order.
struct CopyDefinition
{
    int separator = 0;
    std::vector<int> items;
};
CopyDefinition ParseCopyDefinition(std::string_view parm);
// The stored form: the separator in two digits, then every item code that is not 0 in two digits.
std::string CopyDefinitionText(int separator, const std::vector<int>& items);

// The text a copy setting makes of a record, cut at its first NUL and trimmed of spaces at both
// ends; nullopt when the definition holds no item (2 characters or fewer).
std::optional<std::string> CopyText(const AddressRecord& rec, const ExtraRecord& extra, std::string_view parm);
// Text for the clipboard: bytes that did not decode as CP932 become U+FFFD.
std::string ForClipboard(std::string_view text);

// The clipboard text for the selected item of `list` with copy setting `setting` (0..3), read
// afresh; nullopt when there is nothing to copy (no items, nothing selected, the record could not
// be read): the clipboard is then left alone.
std::optional<std::string> CopySelectedRecord(AppState& state, const ListModel& list, int setting);

// The names of the 18 items as the copy settings dialog offers them (index = code - 1).
std::array<std::string, CopyItemTotal> CopyItemCaptions(const FieldCaptions& captions);
// A display name cut to 30 CP932 bytes on a character boundary.
std::string FitCopyTitle(std::string_view title);

} // namespace talik
