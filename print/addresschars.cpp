#include "print/addresschars.h"

#include <array>

#include "platform/utf8.h"

namespace talik {

char32_t CodeOf(std::string_view ch)
{
    if (ch.empty()) {
        return 0;
    }
    const Utf8Char decoded = DecodeUtf8(ch);
    return decoded.code == MalformedUtf8 ? 0 : decoded.code;
}

int DigitValue(std::string_view ch)
{
    const char32_t code = CodeOf(ch);
    if (code >= U'0' && code <= U'9') {
        return static_cast<int>(code - U'0');
    }
    if (code >= 0xFF10 && code <= 0xFF19) {
        return static_cast<int>(code - 0xFF10);
    }
    return -1;
}

bool IsDigitChar(std::string_view ch)
{
    return DigitValue(ch) >= 0;
}

bool IsKanjiNumeral(std::string_view ch)
{
    static constexpr std::array<std::string_view, 13> Numerals{"〇", "一", "二", "三", "四", "五", "六",
                                                               "七", "八", "九", "十", "百", "千"};
    for (std::string_view numeral : Numerals) {
        if (ch == numeral) {
            return true;
        }
    }
    return false;
}

bool IsDashChar(std::string_view ch)
{
    return ch == "-" || ch == "－" || ch == "‐" || ch == "−" || ch == "―" || ch == "ー" || ch == "ｰ";
}

bool IsKatakana(std::string_view ch)
{
    const char32_t code = CodeOf(ch);
    const bool full = code >= 0x30A1 && code <= 0x30FC && code != 0x30FB; // "ァ".."ー" but not "・"
    const bool half = code >= 0xFF66 && code <= 0xFF9F;                   // "ｦ".."ﾟ"
    return full || half;
}

bool IsLatinLetter(std::string_view ch)
{
    const char32_t code = CodeOf(ch);
    const bool ascii = (code >= U'A' && code <= U'Z') || (code >= U'a' && code <= U'z');
    const bool wide = (code >= 0xFF21 && code <= 0xFF3A) || (code >= 0xFF41 && code <= 0xFF5A);
    return ascii || wide;
}

bool IsDashBetweenDigits(const std::vector<std::string>& chars, std::size_t i)
{
    return i > 0 && i + 1 < chars.size() && IsDashChar(chars[i]) && IsDigitChar(chars[i - 1]) &&
           IsDigitChar(chars[i + 1]);
}

} // namespace talik
