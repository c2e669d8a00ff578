#include "platform/recordfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace talik {
namespace {

OpenError ClassifyOpenErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return OpenError::Access;
    default:
        return OpenError::Other;
    }
}

// An exclusive lock on the whole file, owned by this open file description: it conflicts with
// every other description, in this process or another, and goes away when this one is closed.
bool LockWholeFile(int fd)
{
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// A shared lock on the whole file for this open file description, without waiting.
bool ShareLockWholeFile(int fd)
{
    struct flock lock
    {
    };
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Reads up to `size` bytes at `offset`; zero-fills what lies past the end. False on an I/O error.
bool ReadAt(int fd, unsigned char* out, std::size_t size, off_t offset, int& err)
{
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = pread(fd, out + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
            std::memset(out + done, 0, size - done);
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    std::memset(out + done, 0, size - done);
    return true;
}

// Writes all `size` bytes at `offset`. False on an I/O error.
bool WriteAt(int fd, const unsigned char* data, std::size_t size, off_t offset, int& err)
{
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd, data + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            err = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

RecordFile::RecordFile(RecordFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)),
      m_gate(std::exchange(other.m_gate, nullptr)), m_absent(std::exchange(other.m_absent, false)),
      m_writer(std::exchange(other.m_writer, false)), m_recLen(other.m_recLen), m_errno(other.m_errno)
{}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_gate = std::exchange(other.m_gate, nullptr);
        m_absent = std::exchange(other.m_absent, false);
        m_writer = std::exchange(other.m_writer, false);
        m_recLen = other.m_recLen;
        m_errno = other.m_errno;
    }
    return *this;
}

RecordFile::~RecordFile()
{
    close();
}

OpenError RecordFile::open(const std::string& path, OpenMode mode, std::size_t recLen)
{
    close();
    m_recLen = recLen;
    m_path = path;
    int flags = (mode == OpenMode::Write ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        m_errno = errno;
        if (mode == OpenMode::Read && m_errno == ENOENT) {
            // Reading a file nobody has written yet: it holds no records.
            m_absent = true;
            return OpenError::None;
        }
        return ClassifyOpenErrno(m_errno);
    }
    struct stat st
    {
    };
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        m_errno = EISDIR;
        return OpenError::Access;
    }
    if (mode == OpenMode::Write && !LockWholeFile(fd)) {
        m_errno = errno;
        ::close(fd);
        return (m_errno == EAGAIN || m_errno == EACCES) ? OpenError::LockHeld : OpenError::Other;
    }
    m_fd = fd;
    m_writer = mode == OpenMode::Write;
    return OpenError::None;
}

void RecordFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = -1;
    m_absent = false;
    m_writer = false;
}

bool RecordFile::read(std::int64_t recNo, std::span<unsigned char> out) const
{
    return readMany(recNo, 1, out);
}

bool RecordFile::readMany(std::int64_t firstRecNo, std::size_t count, std::span<unsigned char> out) const
{
    std::size_t size = std::min(out.size(), count * m_recLen);
    if (m_fd < 0 || firstRecNo < 1) {
        std::memset(out.data(), 0, size);
        return m_absent;
    }
    off_t offset = static_cast<off_t>(firstRecNo - 1) * static_cast<off_t>(m_recLen);
    return ReadAt(m_fd, out.data(), size, offset, m_errno);
}

std::optional<RecordView> RecordFile::view() const
{
    if (m_fd < 0 || m_recLen == 0 || (!m_writer && !ShareLockWholeFile(m_fd))) {
        return std::nullopt;
    }
    const int unlockFd = m_writer ? -1 : m_fd;
    struct stat st
    {
    };
    // Only whole records: a page past the end of the file would fault.
    const std::size_t size = fstat(m_fd, &st) == 0 ? static_cast<std::size_t>(st.st_size) / m_recLen * m_recLen : 0;
    void* bytes = size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, m_fd, 0) : MAP_FAILED;
    if (bytes == MAP_FAILED) {
        UnlockWholeFile(unlockFd);
        return std::nullopt;
    }
    ::madvise(bytes, size, MADV_SEQUENTIAL);
    return RecordView(static_cast<const unsigned char*>(bytes), size, m_recLen, unlockFd);
}

bool RecordFile::write(std::int64_t recNo, std::span<const unsigned char> data)
{
    return writePart(recNo, 0, data);
}

bool RecordFile::writePart(std::int64_t recNo, std::size_t offset, std::span<const unsigned char> data)
{
    if (m_fd < 0 || recNo < 1 || offset >= m_recLen) {
        m_errno = EBADF;
        return false;
    }
    off_t at = static_cast<off_t>(recNo - 1) * static_cast<off_t>(m_recLen) + static_cast<off_t>(offset);
    std::size_t size = std::min(data.size(), m_recLen - offset);
    std::size_t admitted = m_gate ? std::min(size, m_gate->admit(m_path, at, size)) : size;
    if (!WriteAt(m_fd, data.data(), admitted, at, m_errno)) {
        return false;
    }
    if (admitted < size) {
        m_errno = ENOSPC;
        return false;
    }
    return true;
}

bool RecordFile::writeMany(std::int64_t firstRecNo, std::span<const unsigned char> data)
{
    if (m_fd < 0 || firstRecNo < 1 || m_recLen == 0 || data.size() % m_recLen != 0) {
        m_errno = EBADF;
        return false;
    }
    off_t at = static_cast<off_t>(firstRecNo - 1) * static_cast<off_t>(m_recLen);
    std::size_t admitted = m_gate ? std::min(data.size(), m_gate->admit(m_path, at, data.size())) : data.size();
    if (!WriteAt(m_fd, data.data(), admitted, at, m_errno)) {
        return false;
    }
    if (admitted < data.size()) {
        m_errno = ENOSPC;
        return false;
    }
    return true;
}

bool RecordFile::truncate(std::int64_t records)
{
    if (m_fd < 0 || records < 0) {
        m_errno = EBADF;
        return false;
    }
    if (ftruncate(m_fd, static_cast<off_t>(records) * static_cast<off_t>(m_recLen)) != 0) {
        m_errno = errno;
        return false;
    }
    return true;
}

std::int64_t RecordFile::recordCount() const
{
    struct stat st
    {
    };
    if (m_fd < 0 || fstat(m_fd, &st) != 0 || m_recLen == 0) {
        return 0;
    }
    return (static_cast<std::int64_t>(st.st_size) + static_cast<std::int64_t>(m_recLen) - 1) /
           static_cast<std::int64_t>(m_recLen);
}

} // namespace talik
