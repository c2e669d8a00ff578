#include "cli/clilist.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "store/dbfile.h"
#include "store/liverecords.h"

namespace talik {
namespace {

// One line of the list; its texts lie in the shared arena, so 64 000 lines make no 128 000 strings.
struct Line
{
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
    explicit LineCollector(std::size_t expected) : m_order(expected)
    {
        m_lines.reserve(expected);
        m_arena.reserve(expected * 32);
    }

    void add(std::int32_t recNo, const AddressRecord& rec)
    {
        const std::string_view stored(rec.KanaName, sizeof(rec.KanaName));
        m_order.add(recNo, stored);
        Line line{recNo, offset(), 0, 0};
        AppendFromCp932(m_arena, CleanFixedBytes(stored));
        line.nameBegin = offset();
        AppendFromCp932(m_arena, CleanFixedBytes(std::string_view(rec.KanjiName, sizeof(rec.KanjiName))));
        line.nameEnd = offset();
        m_lines.push_back(line);
    }

    // The lines in list order, as text.
    std::string text() const
    {
        std::string out;
        out.reserve(m_arena.size() + m_lines.size() * 9);
        const std::string_view arena(m_arena);
        for (std::uint32_t position : m_order.sorted()) {
            const Line& line = m_lines[position];
            AppendRecordKey(out, line.recNo);
            out += '\t';
            out += arena.substr(line.readingBegin, line.nameBegin - line.readingBegin);
            out += '\t';
            out += arena.substr(line.nameBegin, line.nameEnd - line.nameBegin);
            out += '\n';
        }
        return out;
    }

private:
    std::uint32_t offset() const { return static_cast<std::uint32_t>(m_arena.size()); }

    ReadingOrder m_order;
    std::vector<Line> m_lines;
    std::string m_arena;
};

} // namespace

std::optional<std::string> ListAllLive(AppState& state, const std::function<bool(const AddressRecord&)>& keep)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Read, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    LineCollector lines(static_cast<std::size_t>(std::max<std::int64_t>(main->recordCount() - 1, 0)));
    auto visit = [&lines, &keep](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord*) {
        if (!keep || keep(rec)) {
            lines.add(recNo, rec);
        }
    };
    if (!ScanLiveRecords(state, {&*main, path}, {}, visit)) {
        return std::nullopt;
    }
    return lines.text();
}

} // namespace talik
