#include "interchange/birthdayread.h"

#include <array>
#include <string>

#include "platform/codec.h"

namespace talik {
namespace {

struct Era
{
    std::string_view name;
    char letter;
    int base; // the Western year before its first year
    int last; // its last year
};

constexpr std::array<Era, 5> Eras{{
    {"明治", 'M', 1867, 45},
    {"大正", 'T', 1911, 15},
    {"昭和", 'S', 1925, 64},
    {"平成", 'H', 1988, 31},
    {"令和", 'R', 2018, 99},
}};

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The UTF-8 text with full-width digits, letters and separators made half-width, trimmed of blanks.
std::string NormalisedDate(std::string_view cp932)
{
    const std::string utf8 = FromCp932(cp932);
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        // U+FF01..U+FF5E, the full-width forms of ASCII 0x21..0x7E: EF BC 81..BF, EF BD 80..9E.
        if (lead == 0xEF && i + 2 < utf8.size()) {
            const auto second = static_cast<unsigned char>(utf8[i + 1]);
            const auto third = static_cast<unsigned char>(utf8[i + 2]);
            if ((second == 0xBC && third >= 0x81) || (second == 0xBD && third <= 0x9E)) {
                out += static_cast<char>((second == 0xBC ? 0x21 + (third - 0x81) : 0x60 + (third - 0x80)));
                i += 3;
                continue;
            }
        }
        if (utf8.compare(i, 3, "\u3000") == 0) { // the ideographic space
            out += ' ';
            i += 3;
            continue;
        }
        out += utf8[i];
        ++i;
    }
    const std::size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

// Reads a run of digits at the front of `text` into `number`; the count of digits read.
std::size_t TakeNumber(std::string_view& text, int& number)
{
    std::size_t count = 0;
    number = 0;
    while (count < text.size() && count < 8 && IsAsciiDigit(text[count])) {
        number = number * 10 + (text[count] - '0');
        ++count;
    }
    text.remove_prefix(count);
    return count;
}

bool Take(std::string_view& text, std::string_view what)
{
    if (!text.starts_with(what)) {
        return false;
    }
    text.remove_prefix(what.size());
    return true;
}

const Era* TakeEra(std::string_view& text)
{
    for (const Era& era : Eras) {
        if (Take(text, era.name)) {
            return &era;
        }
    }
    for (const Era& era : Eras) {
        if (!text.empty() && (text[0] == era.letter || text[0] == era.letter + ('a' - 'A'))) {
            text.remove_prefix(1);
            return &era;
        }
    }
    return nullptr;
}

bool IsLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsRealDay(int year, int month, int day)
{
    constexpr std::array<int, 12> Days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    return day <= Days[static_cast<std::size_t>(month - 1)] + (month == 2 && IsLeap(year) ? 1 : 0);
}

// Month and day after the year: "4月12日" (the 日 may be left off) or "/4/12" with one separator.
bool TakeMonthAndDay(std::string_view& text, bool afterYearMark, int& month, int& day)
{
    if (afterYearMark) {
        if (TakeNumber(text, month) == 0 || !Take(text, "月") || TakeNumber(text, day) == 0) {
            return false;
        }
        Take(text, "日");
        return true;
    }
    if (text.empty() || (text[0] != '/' && text[0] != '-' && text[0] != '.')) {
        return false;
    }
    const char separator = text[0];
    text.remove_prefix(1);
    if (TakeNumber(text, month) == 0 || month > 99 || text.empty() || text[0] != separator) {
        return false;
    }
    text.remove_prefix(1);
    return TakeNumber(text, day) != 0;
}

// The forms other than the export's; 0 when the text is none of them.
std::int32_t ReadOtherForms(std::string_view text)
{
    const Era* era = TakeEra(text);
    int year = 0;
    if (era != nullptr && Take(text, "元")) {
        year = 1;
    } else {
        const std::size_t digits = TakeNumber(text, year);
        if (era == nullptr && digits == 8 && text.empty()) {
            return IsRealDay(year / 10000, year / 100 % 100, year % 100) ? year : 0;
        }
        if (digits == 0 || (era == nullptr && digits != 4) || (era != nullptr && digits > 2)) {
            return 0;
        }
    }
    if (era != nullptr) {
        if (year < 1 || year > era->last) {
            return 0;
        }
        year += era->base;
    }
    int month = 0, day = 0;
    const bool yearMark = Take(text, "年");
    if (!TakeMonthAndDay(text, yearMark, month, day) || !text.empty() || !IsRealDay(year, month, day)) {
        return 0;
    }
    return year * 10000 + month * 100 + day;
}

// The export's form: ten bytes, digits at 1-4, 6-7 and 9-10 (the separators are not looked at).
bool IsExportForm(std::string_view cp932)
{
    if (cp932.size() != 10) {
        return false;
    }
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!IsAsciiDigit(cp932[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

BirthdayReading ReadBirthday(std::string_view cp932)
{
    if (IsExportForm(cp932)) {
        const int year = std::stoi(std::string(cp932.substr(0, 4)));
        const int month = (cp932[5] - '0') * 10 + (cp932[6] - '0');
        const int day = (cp932[8] - '0') * 10 + (cp932[9] - '0');
        if (month > 12 || day > 31) {
            return {0, false};
        }
        return {year * 10000 + month * 100 + day, true};
    }
    const std::string text = NormalisedDate(cp932);
    if (text.empty()) {
        return {};
    }
    const std::int32_t value = ReadOtherForms(text);
    return {value, value != 0};
}

} // namespace talik
