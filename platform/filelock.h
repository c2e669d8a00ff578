#pragma once
// An advisory lock that keeps the read-modify-write of a shared file to one process at a time. The
// lock is taken on a file of its own beside the guarded one, because the guarded file is replaced
// whole by a rename on every write and a lock on it would stay with the replaced copy.
#include <optional>
#include <string>

namespace talik {

class FileLock
{
public:
    // Waits until the exclusive lock on `lockPath` (created when missing, its folder too) is ours.
    // Nothing when the lock file cannot be created or locked.
    static std::optional<FileLock> acquire(const std::string& lockPath);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock(); // closing the lock file releases the lock

private:
    explicit FileLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

// The lock file that guards `path`: "QXSCH.INI.lock" beside "QXSCH.INI".
std::string LockPathFor(const std::string& path);

} // namespace talik
