#include "print/numerals.h"

#include <array>
#include <vector>

#include "print/addresschars.h"
#include "print/postcardlayout.h"

namespace talik {
namespace {

using Chars = std::vector<std::string>;

constexpr std::array<std::string_view, 10> KanjiDigits{"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::string_view NumberDash = "－";
constexpr std::array<std::string_view, 3> BlockWords{"丁目", "番", "号"};
constexpr std::size_t LongestSpoken = 4;

std::string DigitByDigit(const std::string& digits)
{
    std::string out;
    for (const std::string& ch : SplitChars(digits)) {
        out += KanjiDigits[static_cast<std::size_t>(DigitValue(ch))];
    }
    return out;
}

// A run of digits from `at`, as ASCII digits.
std::string DigitRun(const Chars& chars, std::size_t at, std::size_t& end)
{
    std::string digits;
    end = at;
    while (end < chars.size() && IsDigitChar(chars[end])) {
        digits += static_cast<char>('0' + DigitValue(chars[end]));
        ++end;
    }
    return digits;
}

// From `at`: digit runs joined by dashes, at most three runs. Returns the runs; `end` after them.
std::vector<std::string> DashedNumbers(const Chars& chars, std::size_t at, std::size_t& end)
{
    std::vector<std::string> runs{DigitRun(chars, at, end)};
    while (runs.size() < BlockWords.size() && IsDashBetweenDigits(chars, end)) {
        std::size_t next = end + 1;
        runs.push_back(DigitRun(chars, next, next));
        end = next;
    }
    return runs;
}

bool IsBlockNumberStart(const Chars& chars, std::size_t at, bool sawBlank)
{
    // Only the block numbers after a town; a building's room number keeps its digits.
    return !sawBlank && at > 0 && !IsDigitChar(chars[at - 1]) && !IsDashChar(chars[at - 1]);
}

std::string BlockNumbers(const Chars& chars, std::size_t at, std::size_t& end)
{
    const std::vector<std::string> runs = DashedNumbers(chars, at, end);
    const bool followedByWord = end < chars.size() && !IsDashChar(chars[end]) && !IsSpace(chars[end]) &&
                                !IsDigitChar(chars[end]) && runs.size() == 1;
    if (runs.size() == 1 && (followedByWord || end == chars.size())) {
        return SpokenNumber(runs[0]); // "3丁目", "番地 5": the words are written already
    }
    std::string out;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        out += SpokenNumber(runs[i]) + std::string(BlockWords[i]);
    }
    return out;
}

} // namespace

NumeralStyle NumeralStyleOf(int stored)
{
    switch (stored) {
    case 1:
        return NumeralStyle::Spoken;
    case 2:
        return NumeralStyle::BlockWords;
    default:
        return NumeralStyle::DigitByDigit;
    }
}

std::string SpokenNumber(std::string_view digits)
{
    std::string text(digits);
    while (text.size() > 1 && text.front() == '0') {
        text.erase(0, 1);
    }
    if (text.size() > LongestSpoken) {
        return DigitByDigit(text);
    }
    static constexpr std::array<std::string_view, 4> Places{"", "十", "百", "千"};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int digit = text[i] - '0';
        const std::size_t place = text.size() - 1 - i;
        if (digit == 0) {
            continue;
        }
        if (digit != 1 || place == 0) {
            out += KanjiDigits[static_cast<std::size_t>(digit)];
        }
        out += Places[place];
    }
    return out.empty() ? std::string(KanjiDigits[0]) : out;
}

std::string MarkNumberDashes(std::string_view text)
{
    const Chars chars = SplitChars(text);
    std::string out;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        out += IsDashBetweenDigits(chars, i) ? std::string(NumberDash) : chars[i];
    }
    return out;
}

std::string KanjiNumerals(std::string_view text, NumeralStyle style)
{
    const Chars chars = SplitChars(text);
    std::string out;
    bool sawBlank = false;
    for (std::size_t i = 0; i < chars.size();) {
        sawBlank = sawBlank || IsSpace(chars[i]);
        if (!IsDigitChar(chars[i])) {
            out += IsDashBetweenDigits(chars, i) ? std::string(NumberDash) : chars[i];
            ++i;
            continue;
        }
        std::size_t end = i;
        if (style == NumeralStyle::BlockWords && IsBlockNumberStart(chars, i, sawBlank)) {
            out += BlockNumbers(chars, i, end);
        } else if (style == NumeralStyle::BlockWords && sawBlank) {
            out += DigitByDigit(DigitRun(chars, i, end)); // a room is read digit by digit: 三二〇一号室
        } else {
            const std::string digits = DigitRun(chars, i, end);
            out += style == NumeralStyle::DigitByDigit ? DigitByDigit(digits) : SpokenNumber(digits);
        }
        i = end;
    }
    return out;
}

} // namespace talik
