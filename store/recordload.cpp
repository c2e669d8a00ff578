// Reading a database's records into tables: one pass in file order, or two halves at once.
#include "store/recordload.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "platform/recordfile.h"
#include "store/recordchunks.h"

namespace talik {
namespace {

// A database this large is read in two halves at once, the later one on a second thread; below
// it the thread would cost more than it saves.
constexpr std::int64_t ReadInHalvesFrom = 4096;

// Files stored records into tables, in file order. A group that is full takes no more rows; the
// first record each group had no room for is noted, for one message per group once the load is done.
class RecordLoader
{
public:
    explicit RecordLoader(Tables& tables) : m_tables(tables) {}

    void load(std::int32_t recNo, const AddressRecord& rec)
    {
        auto first = static_cast<unsigned char>(rec.KanaName[0]);
        if (IsDeletedFirstByte(first) || (first == 0 && IsNeverUsedSlot(rec))) {
            m_tables.setUsed(recNo, '0');
            return;
        }
        ++m_tables.TotalCount;
        m_tables.setUsed(recNo, '1');
        int group = KanaGroupOfBytes(std::string_view(rec.KanaName, sizeof(rec.KanaName)));
        if (m_tables.GroupCount(group) >= MaxGroupRows) {
            leftOut(group, recNo);
            return;
        }
        // Filled column by column in a row kept for the purpose, whose text has long grown to size,
        // and packed into the tables' arena.
        m_tables.fillRow(m_scratch, rec, recNo);
        m_tables.appendRow(group, m_scratch);
    }

    void loadChunk(std::int64_t first, std::span<const AddressRecord> chunk)
    {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            load(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)), chunk[i]);
        }
    }

    // Files what `other` loaded from the records after these.
    void appendLater(RecordLoader& other, std::int32_t from, std::int32_t last)
    {
        const auto leftOutThere = m_tables.appendLater(std::move(other.m_tables), from, last);
        for (int group = 0; group < GroupTotal; ++group) {
            for (std::int32_t recNo : {leftOutThere[group], other.m_firstLeftOut[group]}) {
                if (recNo != 0) {
                    leftOut(group, recNo);
                }
            }
        }
    }

    // The groups that were full, in the order the load met them.
    std::vector<int> fullGroups() const
    {
        std::vector<int> groups;
        for (int group = 0; group < GroupTotal; ++group) {
            if (m_firstLeftOut[group] != 0) {
                groups.push_back(group);
            }
        }
        std::sort(groups.begin(), groups.end(), [this](int a, int b) { return m_firstLeftOut[a] < m_firstLeftOut[b]; });
        return groups;
    }

private:
    void leftOut(int group, std::int32_t recNo)
    {
        if (m_firstLeftOut[group] == 0 || recNo < m_firstLeftOut[group]) {
            m_firstLeftOut[group] = recNo;
        }
    }

    Tables& m_tables;
    TableRow m_scratch;
    std::array<std::int32_t, GroupTotal> m_firstLeftOut{};
};

// The later half of a large database, read into tables of its own on a second thread.
class LaterHalf
{
public:
    LaterHalf(const RecordFile& reader, const ColumnSet& columns, std::int64_t from, std::int64_t end)
    {
        m_tables.columns = columns;
        m_thread = std::jthread([this, &reader, from, end] {
            try {
                ForEachRecordChunk<AddressRecord>(
                    reader, from, end,
                    [this](std::int64_t first, std::span<const AddressRecord> chunk) {
                        m_loader.loadChunk(first, chunk);
                    },
                    RecordPass::Copied);
            } catch (...) {
                m_failure = std::current_exception();
            }
        });
    }

    // Waits for the half to be read; rethrows what stopped it.
    RecordLoader& loaded()
    {
        m_thread.join();
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
        return m_loader;
    }

private:
    Tables m_tables;
    RecordLoader m_loader{m_tables};
    std::exception_ptr m_failure;
    std::jthread m_thread; // last: joined before the tables it fills go
};

} // namespace

LoadedRecords ReadRecords(const RecordFile& reader,
                          const ColumnSet& columns,
                          std::int32_t storedLast,
                          const std::function<void()>& betweenChunks)
{
    LoadedRecords loaded;
    Tables& tables = loaded.tables;
    tables.columns = columns;
    tables.columns.number(); // the list finds its columns by their numbers
    std::int64_t inFile = reader.recordCount();
    std::int32_t last = SaneLastRecNo(storedLast, inFile, MaxRecNo);
    // Records past the end of the file read as zeros, which are never-used slots: no need to read them.
    std::int64_t end = std::min<std::int64_t>(last, inFile);
    std::int64_t split = end + 1;
    std::optional<LaterHalf> later;
    if (end - FirstRecNo + 1 >= ReadInHalvesFrom) {
        split = FirstRecNo + (end - FirstRecNo + 1) / 2;
        later.emplace(reader, columns, split, end);
    }
    RecordLoader loader(tables);
    ForEachRecordChunk<AddressRecord>(
        reader, FirstRecNo, split - 1,
        [&](std::int64_t first, std::span<const AddressRecord> chunk) {
            loader.loadChunk(first, chunk);
            betweenChunks();
        },
        // Copied a few at a time, the file never lies in the program's memory whole, not even while
        // it loads.
        RecordPass::Copied);
    if (later) {
        loader.appendLater(later->loaded(), static_cast<std::int32_t>(split), static_cast<std::int32_t>(end));
    }
    for (std::int64_t recNo = std::max<std::int64_t>(end + 1, FirstRecNo); recNo <= last; ++recNo) {
        tables.setUsed(static_cast<std::int32_t>(recNo), '0');
    }
    tables.fitToRows();
    loaded.fullGroups = loader.fullGroups();
    return loaded;
}

} // namespace talik
