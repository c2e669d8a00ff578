#pragma once
// A pass over the records of a record file, a chunk at a time: straight from a mapping of the file
// when one can be had (only the bytes looked at are touched, nothing is copied), else read into a
// buffer - as also for a short last record, which a mapping cannot show, and for a pass that asks
// for copies.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/recordfile.h"

namespace talik {

inline constexpr std::size_t RecordChunk = 1024; // about 600 KB of address records

// How a pass gets its records: straight from a mapping of the file, or copied a few at a time into
// a buffer small enough to stay in the processor's cache. A pass that looks at only a few bytes of
// each record is quicker on copies: the kernel copies from its own large pages, where a mapping
// costs a page-table entry, and a wait for memory, for every 4 KB the pass goes through.
enum class RecordPass
{
    Mapped,
    Copied,
};
inline constexpr std::size_t CopiedRecordChunk = 256; // about 150 KB of address records

// Calls `visit(first, records)` for records from..end in chunks; false when a read failed (that
// chunk is visited zero-filled, as never-used slots, and the pass goes on). A visitor that returns
// a bool ends the pass early by returning false.
template <class Record, class Visit>
bool ForEachRecordChunk(
    const RecordFile& file, std::int64_t from, std::int64_t end, Visit visit, RecordPass pass = RecordPass::Mapped)
{
    // Records are used in place: they must need no alignment of their own.
    static_assert(alignof(Record) == 1);
    const std::optional<RecordView> view = pass == RecordPass::Mapped ? file.view() : std::nullopt;
    const std::int64_t mapped = view ? view->wholeRecords() : 0;
    const std::size_t chunkSize = pass == RecordPass::Mapped ? RecordChunk : CopiedRecordChunk;
    std::vector<Record> buffer;
    bool read = true;
    for (std::int64_t first = from; first <= end; first += static_cast<std::int64_t>(chunkSize)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(chunkSize, end - first + 1));
        const Record* records = nullptr;
        if (first + static_cast<std::int64_t>(count) - 1 <= mapped) {
            records = reinterpret_cast<const Record*>(view->record(first).data());
        } else {
            buffer.resize(chunkSize);
            auto bytes =
                std::span<unsigned char>(reinterpret_cast<unsigned char*>(buffer.data()), count * sizeof(Record));
            read = file.readMany(first, count, bytes) && read;
            records = buffer.data();
        }
        const std::span<const Record> chunk(records, count);
        if constexpr (std::is_same_v<decltype(visit(first, chunk)), bool>) {
            if (!visit(first, chunk)) {
                break;
            }
        } else {
            visit(first, chunk);
        }
    }
    return read;
}

} // namespace talik
