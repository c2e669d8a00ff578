#pragma once
// The check-item names a database keeps for itself, in its main header beside a marker that says
// whether it uses them ("1") or the global names ("0").
#include <array>
#include <string>

namespace talik {

struct AppState;

inline constexpr std::size_t DbCheckNameBytes = 20;

struct DbCheckItems
{
    bool ownNames = false;
    std::array<std::string, 15> names;
};

// What the dialog opens with: the header's names, or the global names when the marker was never
// chosen (neither "0" nor "1").
DbCheckItems DbCheckItemsOf(const AppState& state);
// Writes the marker and the 15 names (trimmed, cut to 20 bytes) into the open database's main
// header. The header is read again under the writers' lock and only those bytes change, so what
// another copy wrote meanwhile (records, the record count, a password) stays. The in-memory header
// follows. False when the file could not be written (the user was told).
bool StoreDbCheckItems(AppState& state, const DbCheckItems& items);

} // namespace talik
