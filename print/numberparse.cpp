#include "print/numberparse.h"

#include <cstdlib>

#include "platform/trim.h"

namespace talik {
namespace {

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

std::string_view Trimmed(std::string_view text)
{
    return TrimOf(text, " \t");
}

} // namespace

double TypedNumber::value() const
{
    const std::string text = (negative ? "-" : "") + (whole.empty() ? "0" : whole) + "." + fraction + "0";
    return std::strtod(text.c_str(), nullptr);
}

bool TypedNumber::isWhole() const
{
    return fraction.find_first_not_of('0') == std::string::npos;
}

std::optional<TypedNumber> ParseStrictNumber(std::string_view text)
{
    text = Trimmed(text);
    TypedNumber number;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        number.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    bool point = false;
    for (char ch : text) {
        if (ch == '.' && !point) {
            point = true;
        } else if (IsDigit(ch)) {
            (point ? number.fraction : number.whole) += ch;
        } else {
            return std::nullopt;
        }
    }
    if (number.whole.empty() && number.fraction.empty()) {
        return std::nullopt;
    }
    return number;
}

bool IsNumberBoxChar(char32_t ch)
{
    return (ch >= U'0' && ch <= U'9') || ch == U'-' || ch == U'.';
}

} // namespace talik
