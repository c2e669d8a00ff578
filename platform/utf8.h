#pragma once
// The one check of UTF-8 text from outside: only the shortest form of each character, no
// surrogate halves, nothing past U+10FFFF (so no lead byte C0, C1 or F5..FF).
#include <cstddef>
#include <string>
#include <string_view>

namespace talik {

inline constexpr char32_t MalformedUtf8 = 0xFFFFFFFF;

struct Utf8Char
{
    char32_t code;      // MalformedUtf8 when the bytes are not a well-formed character
    std::size_t length; // bytes taken: the character's, or 1 for a malformed byte
};
// The character at the start of a non-empty `text`.
Utf8Char DecodeUtf8(std::string_view text);
// Appends the UTF-8 form of the code point `code`.
void AppendUtf8(std::string& out, char32_t code);

// The length of the well-formed character at the start of `text`; 0 when it is not one.
std::size_t ValidUtf8Length(std::string_view text);

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The text with every byte that does not begin a well-formed character replaced by U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text);

} // namespace talik
