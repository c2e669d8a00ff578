#include "cli/clilist.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/codec.h"
#include "store/dbfile.h"
#include "store/kana.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::size_t ChunkRecords = 1024; // read the main file in pieces of about 600 KB

// A reading's place in the list, packed for quick comparison: the index group, then the stored
// CP932 bytes of the reading, zero-padded, in big-endian words. For a reading of single-byte
// characters only (Latin, digits, half-width kana) the order of these bytes is the order of the
// decoded text, which is how the list sorts; any other reading is compared as decoded text.
class SortKey
{
public:
    SortKey(int group, std::string_view cp932)
    {
        std::array<unsigned char, sizeof(m_words)> bytes{};
        bytes[0] = static_cast<unsigned char>(group);
        const std::size_t size = std::min(cp932.size(), bytes.size() - 1);
        std::copy_n(cp932.begin(), size, bytes.begin() + 1);
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            for (std::size_t b = 0; b < 8; ++b) {
                m_words[w] = (m_words[w] << 8) | bytes[w * 8 + b];
            }
        }
        m_bytewise = std::all_of(cp932.begin(), cp932.end(), [](char c) { return SortsAsDecoded(c); });
    }

    int group() const { return static_cast<int>(m_words[0] >> 56); }
    bool bytewise() const { return m_bytewise; }
    // -1, 0 or 1 as the packed keys compare; meaningful when both are bytewise.
    int compare(const SortKey& other) const
    {
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            if (m_words[w] != other.m_words[w]) {
                return m_words[w] < other.m_words[w] ? -1 : 1;
            }
        }
        return 0;
    }

private:
    // Single bytes whose decoded characters keep the order of the bytes: ASCII (U+0000..U+007F),
    // 0x80 and 0xA0 (kept as U+F780 and U+F7A0) and half-width kana 0xA1..0xDF (U+FF61..U+FF9F).
    // Lead bytes of double-byte characters and 0xFD..0xFF break that order.
    static bool SortsAsDecoded(char c)
    {
        const auto b = static_cast<unsigned char>(c);
        return b <= 0x80 || (b >= 0xA0 && b <= 0xDF);
    }

    std::array<std::uint64_t, 4> m_words{}; // 1 + 30 bytes of reading fit
    bool m_bytewise = false;
};

// One line of the list; its texts lie in the shared arena, so 64 000 lines make no 128 000 strings.
struct Line
{
    SortKey key;
    std::int32_t recNo = 0;
    std::uint32_t readingBegin = 0;
    std::uint32_t nameBegin = 0; // the reading ends here
    std::uint32_t nameEnd = 0;
};

// "K" and the record number in five digits, as RecordKey makes it, without a formatted print per line.
void AppendRecordKey(std::string& out, std::int32_t recNo)
{
    char key[6] = {'K'};
    for (int i = 5; i >= 1; --i, recNo /= 10) {
        key[i] = static_cast<char>('0' + recNo % 10);
    }
    out.append(key, sizeof(key));
}

class LineCollector
{
public:
    explicit LineCollector(std::size_t expected)
    {
        m_lines.reserve(expected);
        m_arena.reserve(expected * 32);
    }

    void add(std::int32_t recNo, const AddressRecord& rec)
    {
        const auto first = static_cast<unsigned char>(rec.KanaName[0]);
        // The records the tables leave out: deleted ones and slots never written.
        if (IsDeletedFirstByte(first) || (first == 0 && IsNeverUsedSlot(rec))) {
            return;
        }
        const std::string_view stored(rec.KanaName, sizeof(rec.KanaName));
        const std::string_view reading = CleanFixedBytes(stored);
        Line line{SortKey(KanaGroupOfBytes(stored), reading), recNo, offset(), 0, 0};
        AppendFromCp932(m_arena, reading);
        line.nameBegin = offset();
        AppendFromCp932(m_arena, CleanFixedBytes(std::string_view(rec.KanjiName, sizeof(rec.KanjiName))));
        line.nameEnd = offset();
        m_lines.push_back(line);
    }

    // The lines in list order, as text.
    std::string text()
    {
        std::sort(m_lines.begin(), m_lines.end(), [this](const Line& a, const Line& b) { return before(a, b); });
        std::string out;
        out.reserve(m_arena.size() + m_lines.size() * 9);
        for (const Line& line : m_lines) {
            AppendRecordKey(out, line.recNo);
            out += '\t';
            out += reading(line);
            out += '\t';
            out += std::string_view(m_arena).substr(line.nameBegin, line.nameEnd - line.nameBegin);
            out += '\n';
        }
        return out;
    }

private:
    // By group, then by reading as decoded text (string_view compares bytes as unsigned, so UTF-8
    // falls in code point order), then by record number: the order of a stable sort of file order.
    bool before(const Line& a, const Line& b) const
    {
        int order = 0;
        if (a.key.bytewise() && b.key.bytewise()) {
            order = a.key.compare(b.key);
        } else if (a.key.group() != b.key.group()) {
            order = a.key.group() < b.key.group() ? -1 : 1;
        } else {
            order = reading(a).compare(reading(b));
        }
        return order != 0 ? order < 0 : a.recNo < b.recNo;
    }

    std::uint32_t offset() const { return static_cast<std::uint32_t>(m_arena.size()); }
    std::string_view reading(const Line& line) const
    {
        return std::string_view(m_arena).substr(line.readingBegin, line.nameBegin - line.readingBegin);
    }

    std::vector<Line> m_lines;
    std::string m_arena;
};

} // namespace

std::optional<std::string> ListAllLive(AppState& state)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Read, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    const std::int64_t inFile = main->recordCount();
    const std::int32_t last = SaneLastRecNo(GetLong(state.Header.LastRecNo), inFile, MaxRecNo);
    // Records past the end of the file read as zeros, never-used slots: no need to read them.
    const std::int64_t end = std::min<std::int64_t>(last, inFile);
    LineCollector lines(static_cast<std::size_t>(std::max<std::int64_t>(end - 1, 0)));
    std::vector<AddressRecord> chunk(ChunkRecords);
    for (std::int64_t first = FirstRecNo; first <= end; first += static_cast<std::int64_t>(ChunkRecords)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(ChunkRecords, end - first + 1));
        auto bytes = std::span<unsigned char>(reinterpret_cast<unsigned char*>(chunk.data()), count * MainRecLen);
        if (!main->readMany(first, count, bytes)) {
            TellAccessError(state, path);
            return std::nullopt;
        }
        for (std::size_t i = 0; i < count; ++i) {
            lines.add(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)), chunk[i]);
        }
    }
    return lines.text();
}

} // namespace talik
