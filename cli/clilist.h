#pragma once
// talikcli list: every live record of the open database, straight from one scan of its main file.
// The list windows hold at most 3000 rows per index group; the command line has no such limit.
#include <functional>
#include <optional>
#include <string>

namespace talik {

struct AppState;
struct AddressRecord;

// The text list prints: one line "K00002<TAB>reading<TAB>name" per live record, by index group,
// then by reading (by code, as the list windows sort), records of equal reading in record-number
// order. Only the reading and the name are decoded. nullopt when the main file could not be opened
// or read (the user was told).
// With `keep`, only the records it keeps.
std::optional<std::string> ListAllLive(AppState& state, const std::function<bool(const AddressRecord&)>& keep = {});

} // namespace talik
