#include "postal/postaltext.h"

#include <array>

#include "platform/codec.h"
#include "platform/utf8.h"

namespace talik {
namespace {

// One code point of `text` at `pos`, moving `pos` past it; U+FFFD for a malformed byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const Utf8Char c = DecodeUtf8(text.substr(pos));
    pos += c.length;
    return c.code == MalformedUtf8 ? U'\uFFFD' : c.code;
}

bool IsBlank(char32_t code)
{
    return code == U' ' || code == U'\t' || code == U'\u3000';
}

// The dashes typed between the third and fourth digit of a code: hyphen-minus, full-width hyphen,
// minus sign, hyphen, non-breaking hyphen, figure dash, en and em dash, horizontal bar, the long
// vowel mark and its half-width form.
bool IsCodeDash(char32_t code)
{
    constexpr std::array<char32_t, 11> dashes = {U'-',      U'\uFF0D', U'\u2212', U'\u2010', U'\u2011', U'\u2012',
                                                 U'\u2013', U'\u2014', U'\u2015', U'\u30FC', U'\uFF70'};
    for (char32_t dash : dashes) {
        if (code == dash) {
            return true;
        }
    }
    return false;
}

int DigitValue(char32_t code)
{
    if (code >= U'0' && code <= U'9') {
        return static_cast<int>(code - U'0');
    }
    if (code >= U'\uFF10' && code <= U'\uFF19') {
        return static_cast<int>(code - U'\uFF10');
    }
    return -1;
}

char32_t FoldCodePoint(char32_t code)
{
    if (code >= U'0' && code <= U'9') {
        return code - U'0' + U'\uFF10';
    }
    switch (code) {
    case U'-':
    case U'\u2212':
    case U'\u2010':
    case U'\u2011':
    case U'\u2012':
    case U'\u2013':
    case U'\u2015':
        return U'\uFF0D';
    case U'~':
    case U'\u301C':
        return U'\uFF5E';
    case U'\u30F6':
        return U'\u30B1';
    case U'\u30F5':
        return U'\u30AB';
    default:
        return code;
    }
}

} // namespace

std::optional<std::string> NormalizePostalCode(std::string_view text)
{
    std::string digits;
    bool dashSeen = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t code = NextCodePoint(text, pos);
        int digit = DigitValue(code);
        if (digit >= 0) {
            digits += static_cast<char>('0' + digit);
        } else if (IsCodeDash(code) && digits.size() == 3 && !dashSeen) {
            dashSeen = true;
        } else if (!(IsBlank(code) || (code == U'〒' && digits.empty() && !dashSeen))) {
            return std::nullopt;
        }
        if (digits.size() > 7) {
            return std::nullopt;
        }
    }
    if (digits.size() != 7) {
        return std::nullopt;
    }
    return digits;
}

std::string HyphenatedPostalCode(std::string_view sevenDigits)
{
    if (sevenDigits.size() != 7) {
        return std::string(sevenDigits);
    }
    return std::string(sevenDigits.substr(0, 3)) + "-" + std::string(sevenDigits.substr(3));
}

std::string FoldAddress(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t code = NextCodePoint(utf8, pos);
        if (!IsBlank(code)) {
            AppendUtf8(out, FoldCodePoint(code));
        }
    }
    return out;
}

std::u16string ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t code = NextCodePoint(utf8, pos);
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

std::string ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        bool high = code >= 0xD800 && code < 0xDC00;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

} // namespace talik
