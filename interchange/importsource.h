#pragma once
// The file an import reads: a regular file (a link only to one), read once into memory at its own
// size, and an import that runs out of memory told as such instead of ending the program.
#include <functional>
#include <string>

namespace talik {

struct StoreState;

enum class ImportFileError
{
    None,
    NotRegular, // a device, a pipe, a folder, a link to one of these: nothing an import can read whole
    Unreadable, // missing, not permitted, an I/O error (errno tells)
    NoMemory,   // larger than the memory the program can have
};

// Reads the whole file at `path` into `bytes`. Only a regular file is read, and only as many bytes
// as it held when opened, so a device that never ends or a file that keeps growing cannot fill the
// memory.
ImportFileError ReadImportBytes(const std::string& path, std::string& bytes);

// What to tell the user about `error` for `path` (errno as ReadImportBytes left it).
std::string ImportFileMessage(ImportFileError error, const std::string& path, int savedErrno);

// Runs `import`; when it runs out of memory, tells the user how many records were stored before
// (they stay) and returns true.
bool ImportRanOutOfMemory(StoreState& state, const std::function<void()>& import);

} // namespace talik
