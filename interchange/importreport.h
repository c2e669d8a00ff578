#pragma once
// The parts of an import's report that name lines of the file: which lines were skipped or changed,
// the first few by number, so that the user can find them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

inline constexpr std::size_t ImportLinesNamed = 10;

// The instruction line of the check-item picker before an import, in blue as the bulk setting's.
inline constexpr std::string_view ImportCheckItemsMessage = "取込むデータに付ける項目をチェックしてください。";
inline constexpr std::uint32_t ImportCheckItemsColour = 0xFF0000; // &HBBGGRR

// How often an import met something, and the first lines where it did.
struct NotedLines
{
    int count = 0;
    std::vector<int> first; // at most ImportLinesNamed, in file order

    void note(int line)
    {
        ++count;
        if (first.size() < ImportLinesNamed) {
            first.push_back(line);
        }
    }
};

// "（3、7、12 行目）", with " ほか" before the bracket when there were more than are named; empty
// when no line was noted.
std::string NamedLines(const NotedLines& lines);

// A report line "内 N 件は…" for something met on `lines` (nothing when it never was), on a line
// of its own, the lines named after it.
std::string ReportLine(std::string_view lead, int count, std::string_view what, const NotedLines& lines);

// The line of the file on which a record starts, counted as it is read: each call passes on from
// where the last one ended, so counting the whole file costs one pass.
class FileLineCounter
{
public:
    explicit FileLineCounter(std::string_view text) : m_text(text) {}
    // The 1-based line of the byte at `position` (not before the last position asked for).
    int lineAt(std::size_t position);

private:
    std::string_view m_text;
    std::size_t m_counted = 0;
    int m_line = 1;
};

} // namespace talik
