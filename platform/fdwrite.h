#pragma once
// Writing all of a text to an open descriptor.
#include <string_view>

namespace talik {

// Writes all of `bytes` to `fd`, again after an interrupted or partial write. False when a write
// failed, errno telling why; a write that takes nothing has found the disk full (ENOSPC).
bool WriteAll(int fd, std::string_view bytes);

} // namespace talik
