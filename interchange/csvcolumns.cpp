#include "interchange/csvcolumns.h"

#include <charconv>

#include "platform/trim.h"

namespace talik {

std::string JoinParts(const std::vector<std::string>& parts, JoinStyle style)
{
    std::string joined;
    for (const std::string& part : parts) {
        std::string_view trimmed = TrimOf(part, " ");
        if (trimmed.empty()) {
            continue;
        }
        if (!joined.empty() && style == JoinStyle::Blank) {
            joined += ' ';
        }
        joined.append(trimmed);
    }
    return joined;
}

std::vector<int> ColumnsOf(const CsvColumns& columns)
{
    std::vector<int> taken;
    for (int column : columns) {
        if (column > 0) {
            taken.push_back(column);
        }
    }
    return taken;
}

bool ParseJoinedColumns(std::string_view text, int highest, CsvColumns& columns)
{
    columns.fill(0);
    std::size_t count = 0;
    for (;;) {
        std::size_t plus = text.find('+');
        std::string_view part = text.substr(0, plus);
        int value = -1;
        auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size() || value < 0 || value > highest ||
            count == columns.size()) {
            return false;
        }
        columns[count++] = value;
        if (plus == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(plus + 1);
    }
}

} // namespace talik
