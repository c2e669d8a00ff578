#include "store/liverecords.h"

#include <algorithm>
#include <numeric>
#include <span>

#include "platform/codec.h"
#include "platform/recordfile.h"
#include "store/kana.h"
#include "store/messages.h"
#include "store/recordchunks.h"
#include "store/state.h"

namespace talik {
namespace {

bool IsLiveRecord(const AddressRecord& rec)
{
    const auto first = static_cast<unsigned char>(rec.KanaName[0]);
    return !IsDeletedFirstByte(first) && !(first == 0 && IsNeverUsedSlot(rec));
}

// Single bytes whose decoded characters keep the order of the bytes: ASCII (U+0000..U+007F), 0x80
// and 0xA0 (kept as U+F780 and U+F7A0) and half-width kana 0xA1..0xDF (U+FF61..U+FF9F). Lead
// bytes of double-byte characters and 0xFD..0xFF break that order.
bool SortsAsDecoded(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b <= 0x80 || (b >= 0xA0 && b <= 0xDF);
}

template <class T> std::span<unsigned char> ChunkBytes(std::vector<T>& chunk, std::size_t count)
{
    return {reinterpret_cast<unsigned char*>(chunk.data()), count * sizeof(T)};
}

} // namespace

bool ScanLiveRecords(StoreState& state,
                     const NamedRecordFile& main,
                     const NamedRecordFile& extra,
                     const LiveRecordVisitor& visit,
                     const ScanProgress& progress)
{
    const std::int64_t inFile = main.file->recordCount();
    const std::int32_t last = SaneLastRecNo(GetLong(state.Header.LastRecNo), inFile, MaxRecNo);
    // Records past the end of the main file read as zeros, never-used slots: no need to read them.
    const std::int64_t end = std::min<std::int64_t>(last, inFile);
    const auto total = static_cast<std::size_t>(std::max<std::int64_t>(end - 1, 0));
    std::vector<ExtraRecord> extras(extra.file != nullptr ? RecordChunk : 0);
    bool extrasRead = true;
    auto visitChunk = [&](std::int64_t first, std::span<const AddressRecord> chunk) {
        if (!extrasRead) {
            return;
        }
        if (extra.file != nullptr && !extra.file->readMany(first, chunk.size(), ChunkBytes(extras, chunk.size()))) {
            extrasRead = false;
            return;
        }
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (IsLiveRecord(chunk[i])) {
                visit(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)), chunk[i],
                      extra.file != nullptr ? &extras[i] : nullptr);
            }
        }
        if (progress) {
            progress(static_cast<std::size_t>(first - FirstRecNo) + chunk.size(), total);
        }
        state.ui.processEvents();
    };
    if (!ForEachRecordChunk<AddressRecord>(*main.file, FirstRecNo, end, visitChunk)) {
        TellAccessError(state, main.path);
        return false;
    }
    if (!extrasRead) {
        TellAccessError(state, extra.path);
        return false;
    }
    return true;
}

ReadingOrder::ReadingOrder(std::size_t expected)
{
    m_entries.reserve(expected);
    m_decoded.reserve(expected * 16); // a reading of about eight half-width kana, three bytes each
}

void ReadingOrder::add(std::int32_t recNo, std::string_view storedReading)
{
    Entry entry;
    entry.recNo = recNo;
    const std::string_view reading = CleanFixedBytes(storedReading);
    std::array<unsigned char, sizeof(entry.words)> bytes{};
    bytes[0] = static_cast<unsigned char>(KanaGroupOfBytes(storedReading));
    std::copy_n(reading.begin(), std::min(reading.size(), bytes.size() - 1), bytes.begin() + 1);
    for (std::size_t w = 0; w < entry.words.size(); ++w) {
        for (std::size_t b = 0; b < 8; ++b) {
            entry.words[w] = (entry.words[w] << 8) | bytes[w * 8 + b];
        }
    }
    entry.bytewise = std::all_of(reading.begin(), reading.end(), SortsAsDecoded);
    entry.decodedBegin = static_cast<std::uint32_t>(m_decoded.size());
    AppendFromCp932(m_decoded, reading);
    entry.decodedEnd = static_cast<std::uint32_t>(m_decoded.size());
    entry.position = static_cast<std::uint32_t>(m_entries.size());
    m_entries.push_back(entry);
}

std::string_view ReadingOrder::decoded(const Entry& entry) const
{
    return std::string_view(m_decoded).substr(entry.decodedBegin, entry.decodedEnd - entry.decodedBegin);
}

// By group, then by reading as decoded text (string_view compares bytes as unsigned, so UTF-8 falls
// in code point order), then by record number: the order of a stable sort of file order.
bool ReadingOrder::before(const Entry& a, const Entry& b) const
{
    int order = 0;
    if (a.bytewise && b.bytewise) {
        order = a.words < b.words ? -1 : (b.words < a.words ? 1 : 0);
    } else if (a.group() != b.group()) {
        order = a.group() < b.group() ? -1 : 1;
    } else {
        order = decoded(a).compare(decoded(b));
    }
    return order != 0 ? order < 0 : a.recNo < b.recNo;
}

// The entries themselves are sorted, not their positions: each comparison then finds both keys at
// hand instead of fetching them from all over the table.
std::vector<std::uint32_t> ReadingOrder::sorted() const
{
    std::vector<Entry> order(m_entries);
    std::sort(order.begin(), order.end(), [this](const Entry& a, const Entry& b) { return before(a, b); });
    std::vector<std::uint32_t> positions(order.size());
    std::transform(order.begin(), order.end(), positions.begin(), [](const Entry& e) { return e.position; });
    return positions;
}

} // namespace talik
