#include "platform/atomicfile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fdwrite.h"
#include "platform/paths.h"

namespace talik {
namespace {

// The file a path stands for: a link is followed, so that writing replaces its target, not the link.
std::filesystem::path RealTarget(const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        auto target = std::filesystem::canonical(path, ec);
        if (!ec) {
            return target;
        }
    }
    return path;
}

// Gives the file open at `fd` the permissions of `target`; nothing to do when there is no target yet.
bool KeepMode(int fd, const std::filesystem::path& target)
{
    struct stat old
    {
    };
    return ::stat(target.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
}

// ".name.<process id>.tmp" beside the target, hidden from a listing of the folder.
std::string TemporaryName(const std::filesystem::path& target)
{
    return (target.parent_path() / ("." + target.filename().string() + ".")).string() + std::to_string(getpid()) +
           ".tmp";
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, const AtomicWriteOptions& options)
{
    const std::filesystem::path target = options.followLink ? RealTarget(path) : std::filesystem::path(path);
    if (options.makeFolders && target.has_parent_path() && !MakeFolders(target.parent_path().string())) {
        return false;
    }
    const std::string temp = TemporaryName(target);
    ::unlink(temp.c_str()); // left over by a crashed write of an earlier process with the same id
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool ok = (!options.keepMode || KeepMode(fd, target)) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = error; // the reason of the failed step, not of the clean-up
    }
    return ok;
}

} // namespace talik
