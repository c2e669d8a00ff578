#pragma once
// A file of fixed-length records, opened for the moment of one operation.
//
// Mode "W" opens read-write (creating the file) and takes an exclusive open-file-description lock
// on the whole file, so other writers - in this or another process - meet it and retry. Mode "R"
// opens read-only and takes no lock (but for the life of a view()); a missing file then
// reads as empty.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/recordview.h"

namespace talik {

enum class OpenMode
{
    Read,
    Write,
};

// Why an open failed: the two cases the callers tell apart.
enum class OpenError
{
    None,
    Access,   // path, permission or read-only problem: retrying will not help
    LockHeld, // another writer holds the file
    Other,    // anything else (out of descriptors, ...): worth a retry
};

// Sees every write of a record file before it reaches the disk: the seam through which tests fill
// the disk up or end the program between two writes.
class WriteGate
{
public:
    virtual ~WriteGate() = default;
    // How many of the `size` bytes about to be written at byte `offset` of `path` reach the disk.
    // Fewer than `size` makes the write put down that many and then fail, as a full disk does.
    virtual std::size_t admit(const std::string& path, std::int64_t offset, std::size_t size) = 0;
};

class RecordFile
{
public:
    RecordFile() = default;
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&& other) noexcept;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    // Opens `path` with records of `recLen` bytes. On failure the object stays closed.
    OpenError open(const std::string& path, OpenMode mode, std::size_t recLen);
    void close();
    bool isOpen() const { return m_fd >= 0 || m_absent; }

    // Reads record `recNo` (1-based) into `out` (recLen bytes); what lies past the end of the file
    // reads as zero bytes. False on an I/O error (the buffer is then zero-filled).
    bool read(std::int64_t recNo, std::span<unsigned char> out) const;
    // Reads `count` consecutive records starting at `firstRecNo` into `out` (count * recLen bytes),
    // zero-filling whatever lies past the end. False on an I/O error.
    bool readMany(std::int64_t firstRecNo, std::size_t count, std::span<unsigned char> out) const;
    // The whole records of the file mapped for one pass, or nullopt when they cannot be (a writer
    // holds the file, the file is empty or absent, the mapping fails): read them instead.
    std::optional<RecordView> view() const;
    // Writes record `recNo`; the file grows as needed. False on an I/O error (disk full, ...).
    bool write(std::int64_t recNo, std::span<const unsigned char> data);
    // Writes `data` at byte `offset` of record `recNo`, cut at the record's end. False on an I/O error.
    bool writePart(std::int64_t recNo, std::size_t offset, std::span<const unsigned char> data);
    // Writes consecutive records from `firstRecNo` in one write (`data` holds whole records); the
    // file grows as needed. False on an I/O error, and when `data` is no whole number of records.
    bool writeMany(std::int64_t firstRecNo, std::span<const unsigned char> data);
    // Cuts the file after record `records` (its lock kept). False on an I/O error.
    bool truncate(std::int64_t records);
    // Every later write passes `gate` first (nullptr: none). The gate must outlive the open file.
    void setWriteGate(WriteGate* gate) { m_gate = gate; }
    // The number of whole or partial records the file holds.
    std::int64_t recordCount() const;

    std::size_t recordLength() const { return m_recLen; }
    // errno of the last failed call, for messages.
    int lastErrno() const { return m_errno; }

private:
    int m_fd = -1;
    std::string m_path; // for the write gate
    WriteGate* m_gate = nullptr;
    bool m_absent = false; // opened "R" on a file that does not exist: reads as empty
    bool m_writer = false; // opened "W": holds the exclusive lock
    std::size_t m_recLen = 0;
    mutable int m_errno = 0;
};

} // namespace talik
