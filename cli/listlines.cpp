#include "cli/listlines.h"

#include <algorithm>
#include <string_view>

#include "platform/codec.h"

namespace talik {
namespace {

constexpr std::size_t RecordKeyLength = 6;
// A line at its longest: the key, two tabs, a newline and the two fields decoded.
constexpr std::size_t MaxLineLength =
    RecordKeyLength + 3 + (sizeof(AddressRecord::KanaName) + sizeof(AddressRecord::KanjiName)) * MaxUtf8PerCp932Byte;

// "K" and the record number in five digits, as RecordKey makes it, without a formatted print per line.
char* WriteRecordKey(char* out, std::int32_t recNo)
{
    out[0] = 'K';
    for (std::size_t i = RecordKeyLength - 1; i >= 1; --i, recNo /= 10) {
        out[i] = static_cast<char>('0' + recNo % 10);
    }
    return out + RecordKeyLength;
}

} // namespace

ListLines::ListLines(std::size_t expected)
    : m_order(expected), m_capacity(expected * MaxLineLength),
      m_text(std::make_unique_for_overwrite<char[]>(m_capacity))
{
    m_lines.reserve(expected);
}

void ListLines::add(std::int32_t recNo, const AddressRecord& rec)
{
    if (m_used + MaxLineLength > m_capacity) {
        grow();
    }
    char* const begin = m_text.get() + m_used;
    char* end = WriteRecordKey(begin, recNo);
    *end++ = '\t';
    const std::string_view stored(rec.KanaName, sizeof(rec.KanaName));
    m_order.add(recNo, stored);
    end = DecodeCp932Into(end, CleanFixedBytes(stored));
    *end++ = '\t';
    end = DecodeCp932Into(end, CleanFixedBytes(std::string_view(rec.KanjiName, sizeof(rec.KanjiName))));
    *end++ = '\n';
    m_lines.push_back({offsetOf(begin), offsetOf(end)});
    m_used = offsetOf(end);
}

std::string ListLines::text() const
{
    std::string out;
    out.reserve(m_used);
    const std::string_view texts(m_text.get(), m_used);
    for (std::uint32_t position : m_order.sorted()) {
        const Line line = m_lines[position];
        out += texts.substr(line.begin, line.end - line.begin);
    }
    return out;
}

void ListLines::grow()
{
    m_capacity = m_capacity * 2 + MaxLineLength;
    auto larger = std::make_unique_for_overwrite<char[]>(m_capacity);
    std::copy_n(m_text.get(), m_used, larger.get());
    m_text = std::move(larger);
}

} // namespace talik
