#include "cli/clilist.h"

#include <algorithm>
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

// One line of the list; its texts lie in the shared arena, so 64 000 lines make no 128 000 strings.
struct Line
{
    std::int32_t recNo = 0;
    int group = 0;
    std::uint32_t readingBegin = 0;
    std::uint32_t nameBegin = 0; // the reading ends here
    std::uint32_t nameEnd = 0;
};

class LineCollector
{
public:
    void add(std::int32_t recNo, const AddressRecord& rec)
    {
        const auto first = static_cast<unsigned char>(rec.KanaName[0]);
        // The records the tables leave out: deleted ones and slots never written.
        if (IsDeletedFirstByte(first) || (first == 0 && IsNeverUsedSlot(rec))) {
            return;
        }
        const std::string_view reading(rec.KanaName, sizeof(rec.KanaName));
        Line line{recNo, KanaGroupOfBytes(reading), offset(), 0, 0};
        AppendFromCp932(m_arena, CleanFixedBytes(reading));
        line.nameBegin = offset();
        AppendFromCp932(m_arena, CleanFixedBytes(std::string_view(rec.KanjiName, sizeof(rec.KanjiName))));
        line.nameEnd = offset();
        m_lines.push_back(line);
    }

    // The lines in list order, as text.
    std::string text()
    {
        std::sort(m_lines.begin(), m_lines.end(), [this](const Line& a, const Line& b) {
            if (a.group != b.group) {
                return a.group < b.group;
            }
            // string_view compares bytes as unsigned: UTF-8 texts fall in code point order.
            const std::string_view readingA = reading(a);
            const std::string_view readingB = reading(b);
            return readingA != readingB ? readingA < readingB : a.recNo < b.recNo;
        });
        std::string out;
        out.reserve(m_arena.size() + m_lines.size() * 9);
        for (const Line& line : m_lines) {
            out += RecordKey(line.recNo);
            out += '\t';
            out += reading(line);
            out += '\t';
            out += std::string_view(m_arena).substr(line.nameBegin, line.nameEnd - line.nameBegin);
            out += '\n';
        }
        return out;
    }

    void reserve(std::size_t lines)
    {
        m_lines.reserve(lines);
        m_arena.reserve(lines * 32);
    }

private:
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
    // Records past the end of the file read as zeros, never-used slots: no need to read them.
    const std::int64_t end =
        std::min<std::int64_t>(SaneLastRecNo(GetLong(state.Header.LastRecNo), inFile, MaxRecNo), inFile);
    LineCollector lines;
    lines.reserve(static_cast<std::size_t>(std::max<std::int64_t>(end - 1, 0)));
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
