#include "platform/filelock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

#include "platform/paths.h"

namespace talik {

std::optional<FileLock> FileLock::acquire(const std::string& lockPath)
{
    const std::filesystem::path path(lockPath);
    if (path.has_parent_path() && !MakeFolders(path.parent_path().string())) {
        return std::nullopt;
    }
    // Close-on-exec, so that a program started while the lock is held does not keep it.
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return std::nullopt;
    }
    // flock belongs to the open file description: it is not dropped by closing some other
    // descriptor of the file, and two opens in one process exclude each other like two processes.
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    return FileLock(fd);
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileLock::~FileLock()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::string LockPathFor(const std::string& path)
{
    return path + ".lock";
}

} // namespace talik
