#pragma once
// Changing some fields of the open database's header. Other copies of the program may have added
// records or set a password since this one loaded, so the header is read again from the file under
// the write lock, changed there, and only the changed span is written back.
#include <cstddef>
#include <functional>
#include <optional>

#include "store/record.h"

namespace talik {

struct StoreState;

// Reads the main file's header under the write lock, applies `change`, and writes the bytes
// [first, end) back; the header as written, or nullopt after the failure was told.
std::optional<MainHeader> UpdateMainHeader(StoreState& state,
                                           const std::function<void(MainHeader&)>& change,
                                           std::size_t first = 0,
                                           std::size_t end = sizeof(MainHeader));

} // namespace talik
