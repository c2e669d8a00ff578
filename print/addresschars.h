#pragma once
// The kinds of character that decide where an address may break and how its numbers are written.
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// The code point of one UTF-8 character (0 for an empty or malformed one).
char32_t CodeOf(std::string_view ch);

// "0".."9" and "０".."９"; the digit's value, or -1.
int DigitValue(std::string_view ch);
bool IsDigitChar(std::string_view ch);
// "〇一二三四五六七八九" and "十百千".
bool IsKanjiNumeral(std::string_view ch);
// The dashes written between the numbers of an address: "-", "－", "‐", "−", "―" and "ー" (the last
// only where it stands between digits, which the caller judges).
bool IsDashChar(std::string_view ch);
// Katakana of both widths with the long-vowel mark and the voicing marks.
bool IsKatakana(std::string_view ch);
// Latin letters of both widths.
bool IsLatinLetter(std::string_view ch);

// True when the dash at `i` joins two digits ("1-2", "１ー２").
bool IsDashBetweenDigits(const std::vector<std::string>& chars, std::size_t i);

} // namespace talik
