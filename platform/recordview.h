#pragma once
// The whole records of a record file, mapped read-only for one pass over them.
//
// A file opened for reading takes a shared lock for the life of the view: writers (who lock the
// whole file exclusively, and are the only ones who cut a file short) wait until the pass is over,
// so no record disappears from under the mapping. A file opened for writing already holds its own
// lock. A view must not outlive the open file it was taken from.
#include <cstddef>
#include <cstdint>
#include <span>

namespace talik {

// Lets go of this open file description's lock on a file (nothing for a negative descriptor).
void UnlockWholeFile(int fd);

class RecordView
{
public:
    RecordView() = default;
    RecordView(const unsigned char* bytes, std::size_t size, std::size_t recLen, int unlockFd);
    RecordView(RecordView&& other) noexcept;
    RecordView& operator=(RecordView&& other) noexcept;
    RecordView(const RecordView&) = delete;
    RecordView& operator=(const RecordView&) = delete;
    ~RecordView();

    // The number of whole records mapped; a short last record is left to a plain read.
    std::int64_t wholeRecords() const { return m_recLen == 0 ? 0 : static_cast<std::int64_t>(m_size / m_recLen); }
    // Record `recNo` (1-based, at most wholeRecords()).
    std::span<const unsigned char> record(std::int64_t recNo) const
    {
        return {m_bytes + static_cast<std::size_t>(recNo - 1) * m_recLen, m_recLen};
    }

private:
    void release();

    const unsigned char* m_bytes = nullptr;
    std::size_t m_size = 0; // the bytes mapped: whole records only
    std::size_t m_recLen = 0;
    int m_unlockFd = -1; // the descriptor whose shared lock goes with the view
};

} // namespace talik
