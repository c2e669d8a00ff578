#pragma once
// Text with given characters cut from both ends: the blanks of padded fields, of file lines and of
// what the user typed differ from place to place, so each caller names its own.
#include <string_view>

namespace talik {

// `text` without the characters of `blanks` at either end; empty when it holds nothing else.
constexpr std::string_view TrimOf(std::string_view text, std::string_view blanks)
{
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace talik
