#include "dbadmin/filecopy.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fdwrite.h"
#include "platform/recordfile.h"
#include "store/pairswitch.h"
#include "store/sidecopy.h"

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

// Writes a piece through the gate: a gate that admits less makes the write fail as a full disk does.
bool WriteGated(
    int fd, const char* data, std::size_t size, WriteGate* gate, const std::string& shownPath, std::int64_t offset)
{
    std::size_t admitted = gate != nullptr ? gate->admit(shownPath, offset, size) : size;
    if (!WriteAll(fd, std::string_view(data, std::min(admitted, size)))) {
        return false;
    }
    if (admitted < size) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

// A copy is readable by no one more than its source is, nor than the file it replaces was.
mode_t KeptMode(mode_t sourceMode, const std::string& destination)
{
    mode_t mode = sourceMode & 07777;
    struct stat replaced
    {
    };
    if (::stat(destination.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        mode &= replaced.st_mode | S_IWUSR; // a copy the user can write again, as the old one
    }
    return mode;
}

// Copies the bytes of `from` into the new file `to`, flushes it and gives it the source's times.
CopyFailure CopyToTemporary(const FileCopy& copy, const std::string& to, WriteGate* gate)
{
    int in = ::open(copy.source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return {copy.source, errno};
    }
    struct stat source
    {
    };
    bool statted = ::fstat(in, &source) == 0;
    if (!statted || !S_ISREG(source.st_mode)) {
        // A device or a folder has no end to copy up to.
        int error = !statted ? errno : S_ISDIR(source.st_mode) ? EISDIR : EINVAL;
        ::close(in);
        return {copy.source, error};
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0 || ::fchmod(out, KeptMode(source.st_mode, copy.destination)) != 0) {
        int error = errno;
        ::close(in);
        if (out >= 0) {
            ::close(out);
        }
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

// A side store is copied as SQLite reads it; one that is no database is carried byte for byte, so
// that nothing of it is lost on the way.
CopyFailure SnapshotToTemporary(const FileCopy& copy, const std::string& to, WriteGate* gate)
{
    struct stat source
    {
    };
    if (::stat(copy.source.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
        return CopyToTemporary(copy, to, gate); // which names what is wrong with it
    }
    SnapshotResult result = SnapshotSideStore(copy.source, to);
    if (result.kind == SnapshotResult::Kind::NotADatabase) {
        return CopyToTemporary(copy, to, gate);
    }
    if (result.kind == SnapshotResult::Kind::Failed) {
        return {copy.source, result.error};
    }
    if (::chmod(to.c_str(), KeptMode(source.st_mode, copy.destination)) != 0) {
        return {copy.destination, errno};
    }
    return {};
}

std::string TemporaryBeside(const std::string& destination)
{
    std::filesystem::path target(destination);
    return (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".tmp"))
        .string();
}

} // namespace

CopyFailure CopyFilesWhole(const std::vector<FileCopy>& copies, WriteGate* gate, const std::string& keepSuffix)
{
    if (copies.empty()) {
        return {};
    }
    TidyFolder(std::filesystem::path(copies.front().destination).parent_path().string());
    std::vector<TempFile> temps(copies.size());
    std::vector<FilePlacement> placements;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        if (copies[i].source.empty()) {
            placements.push_back({{}, copies[i].destination});
            continue;
        }
        temps[i].path = TemporaryBeside(copies[i].destination);
        ::unlink(temps[i].path.c_str()); // left by a crashed run of an earlier process with this id
        CopyFailure failure = copies[i].sideStore ? SnapshotToTemporary(copies[i], temps[i].path, gate)
                                                  : CopyToTemporary(copies[i], temps[i].path, gate);
        if (!failure.path.empty()) {
            return failure;
        }
        placements.push_back({temps[i].path, copies[i].destination});
    }
    SwitchOptions options;
    options.keepSuffix = keepSuffix;
    SwitchFailure failure = SwitchFiles(placements, options);
    if (!failure.path.empty()) {
        return {failure.path, failure.error};
    }
    for (TempFile& temp : temps) {
        temp.placed = true;
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
