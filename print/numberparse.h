#pragma once
// The numbers typed into the small print dialogs: read strictly, so that a stray character is
// reported instead of being read as 0 or cut off.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

inline constexpr std::string_view NumberInvalidMessage = "正しい数値を入力してください。";

// A number as the user may type it: blanks around it, an optional sign, digits with at most one
// ".", at least one digit ("-1.5", ".5", "7."). Its parts are kept as text, so no value drifts.
struct TypedNumber
{
    bool negative = false;
    std::string whole;    // the digits before the point (may be empty)
    std::string fraction; // the digits after it (may be empty)

    double value() const;
    // True when nothing but zeros follows the point.
    bool isWhole() const;
};
std::optional<TypedNumber> ParseStrictNumber(std::string_view text);

// The keys the number boxes take besides backspace: the digits, "-" and ".".
bool IsNumberBoxChar(char32_t ch);

} // namespace talik
