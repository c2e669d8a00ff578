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
// a buffer small enough to stay in the processor's cache. A mapping copies nothing, and a pass that
// asks for what it reads ahead of time (PrefetchAhead) does not wait on it; but the pages it went
// through count in the program's resident memory while the mapping lasts. A pass run while a
// window stays open (the load) takes copies.
enum class RecordPass
{
    Mapped,
    Copied,
};
inline constexpr std::size_t CopiedRecordChunk = 256; // about 150 KB of address records

// A pass that looks at a record's bytes offset..offset+width-1 (and at its first byte, where a
// deleted record is marked) asks for those of the record `PrefetchDistance` places ahead while it
// looks at this one: at 600 bytes apart, records are too far apart for the processor to guess the
// next one in time, and a pass that branches on what it reads would otherwise wait on memory for
// each record in turn.
inline constexpr std::size_t PrefetchDistance = 8;

// Always inlined: a prefetch has no effect the compiler counts, so a call left standing would be
// dropped as doing nothing.
template <class Record>
[[gnu::always_inline]] inline void
PrefetchAhead(std::span<const Record> chunk, std::size_t i, std::size_t offset, std::size_t width)
{
    if (i + PrefetchDistance < chunk.size()) {
        const char* ahead = reinterpret_cast<const char*>(&chunk[i + PrefetchDistance]);
        __builtin_prefetch(ahead);
        __builtin_prefetch(ahead + offset);
        __builtin_prefetch(ahead + offset + width - 1);
    }
}

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
