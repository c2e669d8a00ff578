#pragma once
// A pass over the records of a record file, a chunk at a time: straight from a mapping of the file
// when one can be had (only the bytes looked at are touched, nothing is copied), else read into a
// buffer - as also for a short last record, which a mapping cannot show.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/recordfile.h"

namespace talik {

inline constexpr std::size_t RecordChunk = 1024; // about 600 KB of address records

// Calls `visit(first, records)` for records from..end in chunks; false when a read failed (that
// chunk is visited zero-filled, as never-used slots, and the pass goes on). A visitor that returns
// a bool ends the pass early by returning false.
template <class Record, class Visit>
bool ForEachRecordChunk(const RecordFile& file, std::int64_t from, std::int64_t end, Visit visit)
{
    // Records are used in place: they must need no alignment of their own.
    static_assert(alignof(Record) == 1);
    const std::optional<RecordView> view = file.view();
    const std::int64_t mapped = view ? view->wholeRecords() : 0;
    std::vector<Record> buffer;
    bool read = true;
    for (std::int64_t first = from; first <= end; first += static_cast<std::int64_t>(RecordChunk)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(RecordChunk, end - first + 1));
        const Record* records = nullptr;
        if (first + static_cast<std::int64_t>(count) - 1 <= mapped) {
            records = reinterpret_cast<const Record*>(view->record(first).data());
        } else {
            buffer.resize(RecordChunk);
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
