#pragma once
// Opening a database file for one operation, telling the user when it cannot be had.
#include <cstddef>
#include <optional>
#include <string>

#include "platform/recordfile.h"

namespace talik {

struct StoreState;

inline constexpr int LockAttempts = 100;
inline constexpr int LockRetryMs = 100;

// Opens `path` (resolved without regard to case). A path or access error is told at once; a file
// another writer holds is tried again every 100 ms, letting events run, and told after the 100th
// failed attempt. nullopt after the user was told why.
std::optional<RecordFile> OpenDbFile(StoreState& state, const std::string& path, OpenMode mode, std::size_t recLen);

} // namespace talik
