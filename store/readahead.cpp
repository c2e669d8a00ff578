#include "store/readahead.h"

#include <sys/stat.h>

#include <ctime>
#include <utility>

#include "platform/recordfile.h"
#include "store/record.h"

namespace talik {
namespace {

// Reading stops at the next chunk when the program no longer wants it.
struct ReadingStopped
{
};

std::int64_t Nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::int64_t NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

} // namespace

std::optional<FileStamp> StampOf(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileStamp{st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

ReadAhead::ReadAhead(std::string mainFile, const ColumnSet& columns, std::chrono::nanoseconds trustedAge)
    : m_file(std::move(mainFile)), m_columns(columns), m_trustedAge(trustedAge),
      m_thread([this](const std::stop_token& stop) { read(stop); })
{}

void ReadAhead::read(const std::stop_token& stop)
{
    const std::int64_t trustedUntil = NowNs() - m_trustedAge.count();
    const std::optional<FileStamp> before = StampOf(m_file);
    if (!before || before->modifiedNs > trustedUntil || before->changedNs > trustedUntil) {
        return;
    }
    RecordFile reader;
    MainHeader header{};
    if (reader.open(m_file, OpenMode::Read, MainRecLen) != OpenError::None || !reader.read(1, Bytes(header))) {
        return;
    }
    // The load brings an older header up to date before it reads the records: so does this.
    BringUpHeader(header);
    m_storedLast = GetLong(header.LastRecNo);
    try {
        auto stopWhenAsked = [&stop] {
            if (stop.stop_requested()) {
                throw ReadingStopped{};
            }
        };
        m_loaded = ReadRecords(reader, m_columns, m_storedLast, stopWhenAsked);
    } catch (...) {
        // Stopped, or failed: the load reads for itself.
        m_loaded.reset();
        return;
    }
    if (StampOf(m_file) != before) {
        m_loaded.reset();
        return;
    }
    m_stamp = before;
}

std::optional<LoadedRecords>
ReadAhead::take(const std::string& mainFile, std::int32_t storedLast, const ColumnSet& columns)
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const bool same = m_loaded && mainFile == m_file && storedLast == m_storedLast &&
                      columns.ColEnabled == m_columns.ColEnabled && m_stamp && StampOf(mainFile) == m_stamp;
    if (!same) {
        m_loaded.reset();
        return std::nullopt;
    }
    m_taken = true;
    return std::exchange(m_loaded, std::nullopt);
}

} // namespace talik
