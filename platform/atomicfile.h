#pragma once
// Writing a file whole: readers see either the old file or the new one, never a part of either.
#include <string>
#include <string_view>

namespace talik {

// What is done about the file a write replaces; all off, the path is written as it stands.
struct AtomicWriteOptions
{
    bool followLink = false;  // a symbolic link at the path has its target replaced, not the link itself
    bool keepMode = false;    // a replaced file keeps its permissions (a new one has 0666 less the umask)
    bool makeFolders = false; // the missing folders leading to the file are created first
};

// Writes `bytes` to a temporary file in the file's folder, flushes it to the disk and renames it
// over `path`. On any failure the temporary file is removed, the old file stays as it was and errno
// tells why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteOptions& options = {});

} // namespace talik
