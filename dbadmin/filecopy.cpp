#include "dbadmin/filecopy.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/recordfile.h"

namespace talik {
namespace {

constexpr std::size_t ChunkBytes = 1 << 16;

// A temporary file beside `destination`, removed unless it was renamed into place.
struct TempFile
{
    std::string path;
    bool placed = false;
    ~TempFile()
    {
        if (!path.empty() && !placed) {
            ::unlink(path.c_str());
        }
    }
};

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? ENOSPC : errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Writes a piece through the gate: a gate that admits less makes the write fail as a full disk does.
bool WriteGated(
    int fd, const char* data, std::size_t size, WriteGate* gate, const std::string& shownPath, std::int64_t offset)
{
    std::size_t admitted = gate != nullptr ? gate->admit(shownPath, offset, size) : size;
    if (!WriteAll(fd, data, std::min(admitted, size))) {
        return false;
    }
    if (admitted < size) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

// Copies the bytes of `from` into the new file `to`, flushes it and gives it the source's times.
CopyFailure CopyToTemporary(const FileCopy& copy, const std::string& to, WriteGate* gate)
{
    int in = ::open(copy.source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return {copy.source, errno};
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        int error = errno;
        ::close(in);
        return {copy.destination, error};
    }
    CopyFailure failure;
    std::array<char, ChunkBytes> buffer{};
    std::int64_t offset = 0;
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            failure = {copy.source, errno};
            break;
        }
        if (n == 0) {
            break;
        }
        if (!WriteGated(out, buffer.data(), static_cast<std::size_t>(n), gate, copy.destination, offset)) {
            failure = {copy.destination, errno};
            break;
        }
        offset += n;
    }
    struct stat st
    {
    };
    if (failure.path.empty() && ::fstat(in, &st) == 0) {
        std::array<timespec, 2> times{st.st_atim, st.st_mtim};
        if (::futimens(out, times.data()) != 0 || ::fsync(out) != 0) {
            failure = {copy.destination, errno};
        }
    }
    ::close(in);
    if (::close(out) != 0 && failure.path.empty()) {
        failure = {copy.destination, errno};
    }
    return failure;
}

std::string TemporaryBeside(const std::string& destination)
{
    std::filesystem::path target(destination);
    return (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".tmp"))
        .string();
}

} // namespace

CopyFailure CopyFilesWhole(const std::vector<FileCopy>& copies, WriteGate* gate)
{
    std::vector<TempFile> temps(copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        temps[i].path = TemporaryBeside(copies[i].destination);
        ::unlink(temps[i].path.c_str()); // left by a crashed run of an earlier process with this id
        CopyFailure failure = CopyToTemporary(copies[i], temps[i].path, gate);
        if (!failure.path.empty()) {
            return failure;
        }
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (std::rename(temps[i].path.c_str(), copies[i].destination.c_str()) != 0) {
            return {copies[i].destination, errno};
        }
        temps[i].placed = true;
    }
    if (!copies.empty()) {
        // The renames themselves reach the disk with the folder.
        std::string folder = std::filesystem::path(copies.front().destination).parent_path().string();
        int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    return {};
}

long long ModificationTimeNs(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        return -1;
    }
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool SameFolder(const std::string& a, const std::string& b)
{
    struct stat sa
    {
    };
    struct stat sb
    {
    };
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace talik
