#pragma once
// The live records of the open database straight from one scan of its main file, and the order the
// lists show them in. The list windows hold at most 3000 rows per index group; a scan has no such
// limit, so whatever reads the whole database (talikcli list, the CSV export) scans instead.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace talik {

struct StoreState;
class RecordFile;

// An open database file and its name, for the message when it cannot be read.
struct NamedRecordFile
{
    const RecordFile* file = nullptr;
    std::string path;
};

// `extra` is null when the scan does not read the extra file.
using LiveRecordVisitor = std::function<void(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord* extra)>;
// `done` records of `total` visited so far; called after each piece of the file.
using ScanProgress = std::function<void(std::size_t done, std::size_t total)>;

// Calls `visit` for every live record (deleted slots and slots never written are skipped) in
// record-number order, up to the last record number of the open database's header. `extra`, when
// its file is set, is read alongside. Pending events run between the pieces of the file. False when
// a file could not be read (the user was told).
bool ScanLiveRecords(StoreState& state,
                     const NamedRecordFile& main,
                     const NamedRecordFile& extra,
                     const LiveRecordVisitor& visit,
                     const ScanProgress& progress = {});

// The list order of records: by index group, then by reading as the lists compare it (by code, so
// half-width kana fall in syllabary order), then by record number.
class ReadingOrder
{
public:
    explicit ReadingOrder(std::size_t expected = 0);
    // Files a record by its stored reading field (the raw CP932 bytes, blanks and all).
    void add(std::int32_t recNo, std::string_view storedReading);
    std::size_t size() const { return m_keys.size(); }
    // The positions (in the order of adding) of the records, in list order.
    std::vector<std::uint32_t> sorted() const;

private:
    // A reading's place, packed for quick comparison: the index group, then the stored bytes of the
    // reading, zero-padded, in big-endian words.
    struct Key
    {
        std::array<std::uint64_t, 4> words{}; // 1 + 30 bytes of reading fit
        std::int32_t recNo = 0;
        std::uint32_t position = 0; // in the order of adding
        int group() const { return static_cast<int>(words[0] >> 56); }
        std::string_view readingBytes(std::array<char, 32>& bytes) const;
    };
    static bool bytewiseBefore(const Key& a, const Key& b);
    void sortByText(std::vector<Key>& order) const;

    std::vector<Key> m_keys;
    std::vector<bool> m_bytewise; // the order of the bytes is the order of the decoded text
    bool m_allBytewise = true;
};

} // namespace talik
