#include "store/liverecords.h"

#include <algorithm>
#include <cstddef>
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
            PrefetchAhead(chunk, i, 0, offsetof(AddressRecord, EMail)); // the reading and the name
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
    m_keys.reserve(expected);
    m_bytewise.reserve(expected);
}

void ReadingOrder::add(std::int32_t recNo, std::string_view storedReading)
{
    Key key;
    key.recNo = recNo;
    key.position = static_cast<std::uint32_t>(m_keys.size());
    const std::string_view reading = CleanFixedBytes(storedReading);
    std::array<unsigned char, sizeof(key.words)> bytes{};
    bytes[0] = static_cast<unsigned char>(KanaGroupOfBytes(storedReading));
    std::copy_n(reading.begin(), std::min(reading.size(), bytes.size() - 1), bytes.begin() + 1);
    for (std::size_t w = 0; w < key.words.size(); ++w) {
        for (std::size_t b = 0; b < 8; ++b) {
            key.words[w] = (key.words[w] << 8) | bytes[w * 8 + b];
        }
    }
    const bool bytewise = std::all_of(reading.begin(), reading.end(), SortsAsDecoded);
    m_allBytewise = m_allBytewise && bytewise;
    m_keys.push_back(key);
    m_bytewise.push_back(bytewise);
}

// The reading's bytes back out of the words: a cleaned reading holds no zero byte, so the zeros
// after it are padding.
std::string_view ReadingOrder::Key::readingBytes(std::array<char, 32>& bytes) const
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(words[i / 8] >> (56 - 8 * (i % 8)));
    }
    const std::string_view all(bytes.data() + 1, bytes.size() - 1);
    return all.substr(0, std::min(all.find('\0'), all.size()));
}

// Group and reading bytes, then record number, in one pass over the words.
bool ReadingOrder::bytewiseBefore(const Key& a, const Key& b)
{
    for (std::size_t w = 0; w < a.words.size(); ++w) {
        if (a.words[w] != b.words[w]) {
            return a.words[w] < b.words[w];
        }
    }
    return a.recNo < b.recNo;
}

// By group, then by reading as decoded text (string_view compares bytes as unsigned, so UTF-8 falls
// in code point order), then by record number: the order of a stable sort of file order. Two
// readings whose bytes keep their text's order compare by their bytes, which is the same. Only a
// database with such a reading gets here, so only then is every reading decoded.
void ReadingOrder::sortByText(std::vector<Key>& order) const
{
    std::string texts;
    std::vector<std::uint32_t> starts;
    starts.reserve(m_keys.size() + 1);
    for (const Key& key : m_keys) {
        std::array<char, 32> bytes{};
        starts.push_back(static_cast<std::uint32_t>(texts.size()));
        AppendFromCp932(texts, key.readingBytes(bytes));
    }
    starts.push_back(static_cast<std::uint32_t>(texts.size()));
    auto text = [&](std::uint32_t position) {
        return std::string_view(texts).substr(starts[position], starts[position + 1] - starts[position]);
    };
    std::sort(order.begin(), order.end(), [&](const Key& a, const Key& b) {
        if (m_bytewise[a.position] && m_bytewise[b.position]) {
            return bytewiseBefore(a, b);
        }
        if (a.group() != b.group()) {
            return a.group() < b.group();
        }
        const int compared = text(a.position).compare(text(b.position));
        return compared != 0 ? compared < 0 : a.recNo < b.recNo;
    });
}

// The keys themselves are sorted, not their positions: each comparison then finds both keys at
// hand instead of fetching them from all over the table.
std::vector<std::uint32_t> ReadingOrder::sorted() const
{
    std::vector<Key> order(m_keys);
    if (m_allBytewise) {
        std::sort(order.begin(), order.end(), bytewiseBefore);
    } else {
        sortByText(order);
    }
    std::vector<std::uint32_t> positions(order.size());
    std::transform(order.begin(), order.end(), positions.begin(), [](const Key& k) { return k.position; });
    return positions;
}

} // namespace talik
