#include "print/addresschars.h"


#include "platform/utf8.h"

namespace talik {

char32_t CodeOf(std::string_view ch)
{
    if (ch.empty()) {
        return 0;
    }
    if (static_cast<unsigned char>(ch[0]) < 0x80) {
        return static_cast<unsigned char>(ch[0]); // most of an address's digits and dashes
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
    switch (CodeOf(ch)) {
    case U'〇': case U'一': case U'二': case U'三': case U'四': case U'五': case U'六':
    case U'七': case U'八': case U'九': case U'十': case U'百': case U'千':
        return true;
    default:
        return false;
    }
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
