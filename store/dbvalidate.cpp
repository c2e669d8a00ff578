#include "store/dbvalidate.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/record.h"
#include "store/tables.h"

namespace talik {
namespace {

// The earlier layout's signature began with the same program name as the current one.
constexpr std::string_view SignatureStem = "Mirepol";

// Opens without waiting on a pipe or following a link to anything but a regular file; -1 with the
// reason set otherwise.
int OpenRegular(const std::string& path, off_t& size, std::string& reason)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = "通常のファイルではありません。";
        ::close(fd);
        return -1;
    }
    size = st.st_size;
    return fd;
}

bool ReadHeader(int fd, MainHeader& header)
{
    return ::pread(fd, &header, sizeof(header), 0) == static_cast<ssize_t>(sizeof(header));
}

// The highest record number the header claims, or nullopt-like -1 when the signature is none of ours.
std::int32_t ClaimedLast(const MainHeader& header)
{
    std::string_view signature(header.Signature, sizeof(header.Signature));
    if (signature == CurrentSignature) {
        return GetLong(header.LastRecNo);
    }
    if (signature.starts_with(SignatureStem)) {
        return GetLong(header.OldCount); // the earlier layout kept it in the second Long
    }
    return -1;
}

std::string CheckMain(const std::string& path)
{
    off_t size = 0;
    std::string reason;
    int fd = OpenRegular(path, size, reason);
    if (fd < 0) {
        return reason;
    }
    MainHeader header{};
    bool read = size >= static_cast<off_t>(MainRecLen) && ReadHeader(fd, header);
    ::close(fd);
    if (size == 0 || size % static_cast<off_t>(MainRecLen) != 0) {
        return "大きさが " + std::to_string(MainRecLen) + " バイトのレコードの整数倍ではありません。";
    }
    if (!read) {
        return std::strerror(errno);
    }
    std::int32_t last = ClaimedLast(header);
    if (last < 0) {
        return "データベースのファイルではありません。";
    }
    if (last < 1 || last > MaxRecNo || last > size / static_cast<off_t>(MainRecLen)) {
        return "最終レコード番号（" + std::to_string(last) + "）がファイルに合いません。";
    }
    return {};
}

std::string CheckExtra(const std::string& path)
{
    off_t size = 0;
    std::string reason;
    int fd = OpenRegular(path, size, reason);
    if (fd < 0) {
        return reason;
    }
    ::close(fd);
    if (size % static_cast<off_t>(ExtraRecLen) != 0) {
        return "大きさが " + std::to_string(ExtraRecLen) + " バイトのレコードの整数倍ではありません。";
    }
    return {};
}

} // namespace

PairProblem CheckDatabasePair(const std::string& mainPath, const std::string& extraPath)
{
    if (std::string reason = CheckMain(mainPath); !reason.empty()) {
        return {mainPath, reason};
    }
    if (std::string reason = CheckExtra(extraPath); !reason.empty()) {
        return {extraPath, reason};
    }
    return {};
}

} // namespace talik
