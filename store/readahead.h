#pragma once
// Records read before they are asked for. The address book starts reading its database while its
// windows are built; the load takes what was read when the file is still the one that was read, and
// reads afresh when it is not (changed since, another database, other columns).
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>

#include "store/recordload.h"

namespace talik {

// What tells one state of a file from another: a change to it changes one of these.
struct FileStamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::string& path);

class ReadAhead
{
public:
    // A file changes its modification time only to the tick of a coarse clock: two changes within one
    // tick may leave the same time behind. A file last changed longer ago than this before the reading
    // began is known unchanged while its stamp is; a younger one is left for the load to read.
    static constexpr std::chrono::nanoseconds TrustedAge = std::chrono::seconds(2);

    // Starts reading the records of `mainFile`, as the load would with `columns`, on a thread of its own.
    ReadAhead(std::string mainFile, const ColumnSet& columns, std::chrono::nanoseconds trustedAge = TrustedAge);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // What was read, when it was read from `mainFile` up to `storedLast` with `columns` and the file
    // has not changed since; nullopt otherwise. Waits for the reading to end; gives it once.
    std::optional<LoadedRecords> take(const std::string& mainFile, std::int32_t storedLast, const ColumnSet& columns);
    // Whether take() gave the records.
    bool taken() const { return m_taken; }

private:
    void read(const std::stop_token& stop);

    const std::string m_file;
    const ColumnSet m_columns;
    const std::chrono::nanoseconds m_trustedAge;
    std::int32_t m_storedLast = 0;
    std::optional<FileStamp> m_stamp;
    std::optional<LoadedRecords> m_loaded;
    bool m_taken = false;
    std::jthread m_thread; // last: stopped and joined before what it fills goes
};

} // namespace talik
