#include "interchange/importsource.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "interchange/csvimport.h"
#include "platform/interaction.h"
#include "store/state.h"

namespace talik {
namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads up to bytes.size() bytes; the string is cut to what was read. False on an I/O error.
bool ReadInto(int fd, std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break; // the file was cut while it was read: what it still held is what is read
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

} // namespace

ImportFileError ReadImportBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    // Not blocking: opening a pipe nobody writes to would wait for ever before it could be refused.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        return ImportFileError::Unreadable;
    }
    // The file opened, not the name looked at before: a link followed, a name swapped meanwhile.
    struct stat st
    {
    };
    if (::fstat(fd.get(), &st) != 0) {
        return ImportFileError::Unreadable;
    }
    if (!S_ISREG(st.st_mode)) {
        return ImportFileError::NotRegular;
    }
    try {
        bytes.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        bytes = std::string();
        return ImportFileError::NoMemory;
    } catch (const std::length_error&) {
        bytes = std::string();
        return ImportFileError::NoMemory;
    }
    if (!ReadInto(fd.get(), bytes)) {
        bytes = std::string();
        return ImportFileError::Unreadable;
    }
    return ImportFileError::None;
}

std::string ImportFileMessage(ImportFileError error, const std::string& path, int savedErrno)
{
    switch (error) {
    case ImportFileError::NotRegular:
        return path + "\r\nは通常のファイルではないため取込めません。";
    case ImportFileError::NoMemory:
        return path + "\r\nは大きすぎて読み込めません（メモリーが足りません）。";
    case ImportFileError::Unreadable:
        return std::string(CsvReadErrorMessage) + "\r\n" + path + ": " + std::strerror(savedErrno);
    case ImportFileError::None:
        break;
    }
    return {};
}

bool ImportRanOutOfMemory(StoreState& state, const std::function<void()>& import)
{
    const std::int32_t before = state.tables.TotalCount;
    try {
        import();
        return false;
    } catch (const std::bad_alloc&) {
        // The import's writer is gone and has published what it stored: the count is the tables'.
    }
    const std::int32_t stored = state.tables.TotalCount - before;
    state.ui.message("メモリーが足りなくなったため、取込みを中断しました。\r\n" + std::to_string(stored) +
                         " 件のデータを取込みました。以降のデータは取込まれていません。",
                     MessageIcon::Exclamation);
    return true;
}

} // namespace talik
