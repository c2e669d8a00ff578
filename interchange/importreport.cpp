#include "interchange/importreport.h"

#include <algorithm>

namespace talik {

std::string NamedLines(const NotedLines& lines)
{
    if (lines.first.empty()) {
        return {};
    }
    std::string named;
    for (int line : lines.first) {
        named += (named.empty() ? "" : "、") + std::to_string(line);
    }
    named += " 行目";
    if (lines.count > static_cast<int>(lines.first.size())) {
        named += " ほか";
    }
    return "（" + named + "）";
}

std::string ReportLine(std::string_view lead, int count, std::string_view what, const NotedLines& lines)
{
    if (count <= 0) {
        return {};
    }
    return "\r\n" + std::string(lead) + std::to_string(count) + " 件は" + std::string(what) + NamedLines(lines);
}

int FileLineCounter::lineAt(std::size_t position)
{
    position = std::min(position, m_text.size());
    if (position > m_counted) {
        m_line += static_cast<int>(std::count(m_text.begin() + static_cast<std::ptrdiff_t>(m_counted),
                                              m_text.begin() + static_cast<std::ptrdiff_t>(position), '\n'));
        m_counted = position;
    }
    return m_line;
}

} // namespace talik
