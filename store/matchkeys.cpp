#include "store/matchkeys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "platform/utf8.h"
#include "store/kana.h"

namespace talik {
namespace {

constexpr std::string_view FullWidthBlank = "\u3000";

// Variant kanji of family and given names and the form they are compared in.
constexpr std::array<std::pair<std::string_view, std::string_view>, 24> KanjiVariants{{
    {"髙", "高"}, {"﨑", "崎"}, {"嵜", "崎"}, {"邊", "辺"}, {"邉", "辺"}, {"齋", "斎"}, {"齊", "斎"}, {"濱", "浜"},
    {"澤", "沢"}, {"櫻", "桜"}, {"國", "国"}, {"廣", "広"}, {"德", "徳"}, {"惠", "恵"}, {"眞", "真"}, {"黑", "黒"},
    {"藪", "薮"}, {"槇", "槙"}, {"冨", "富"}, {"嶋", "島"}, {"嶌", "島"}, {"曻", "昇"}, {"槗", "橋"}, {"關", "関"},
}};

// Small half-width kana and their full-size forms.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> SmallKana{{
    {"ｧ", "ｱ"},
    {"ｨ", "ｲ"},
    {"ｩ", "ｳ"},
    {"ｪ", "ｴ"},
    {"ｫ", "ｵ"},
    {"ｬ", "ﾔ"},
    {"ｭ", "ﾕ"},
    {"ｮ", "ﾖ"},
    {"ｯ", "ﾂ"},
}};

std::size_t CharLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The text with each character passed through `map`, which appends what stands for it to `out`.
template <typename Map> std::string EachChar(std::string_view text, Map map)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = std::min(CharLength(static_cast<unsigned char>(text[i])), text.size() - i);
        map(text.substr(i, length), out);
        i += length;
    }
    return out;
}

// Whether `c` is the character `literal`, byte by byte: characters are too short for a call to
// compare them.
constexpr bool IsChar(std::string_view c, std::string_view literal)
{
    if (c.size() != literal.size()) {
        return false;
    }
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i] != literal[i]) {
            return false;
        }
    }
    return true;
}

bool IsBlank(std::string_view character)
{
    return IsChar(character, " ") || IsChar(character, FullWidthBlank) || IsChar(character, "\t");
}

// ０ to ９: EF BC 90 to EF BC 99.
constexpr bool IsFullWidthDigit(std::string_view c)
{
    return c.size() == 3 && c[0] == '\xEF' && c[1] == '\xBC' && static_cast<unsigned char>(c[2]) >= 0x90 &&
           static_cast<unsigned char>(c[2]) <= 0x99;
}

// A character of three bytes as one number; numbers keep the order of the characters' codes.
constexpr std::uint32_t ThreeByteCode(std::string_view c)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(c[0])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c[2]));
}

// The text before and after its first blank, each without blanks; all in the first when it has none.
std::pair<std::string, std::string> SplitAtBlank(std::string_view text)
{
    std::size_t blank = std::min(text.find(' '), text.find(FullWidthBlank));
    if (blank == std::string_view::npos) {
        return {std::string(text), {}};
    }
    return {std::string(text.substr(0, blank)), std::string(text.substr(blank))};
}

std::string Field(std::span<const char> field)
{
    return GetText(field);
}

bool IsMobileNumber(std::string_view digits)
{
    return digits.starts_with("070") || digits.starts_with("080") || digits.starts_with("090") ||
           digits.starts_with("060") || digits.starts_with("020");
}

void AddNumber(const AddressRecord& rec, int slot, std::span<const char> field, PersonKeys& keys)
{
    std::string number = NormaliseNumber(Field(field));
    if (number.empty()) {
        return;
    }
    // Pagers, mobile telephones and PHS are one person's.
    int kind = PhoneKind(rec, slot);
    if (kind >= 2 || IsMobileNumber(number)) {
        keys.mobiles.push_back(number);
    } else if (slot <= 1 && keys.home.empty()) {
        keys.home = number;
    } else {
        keys.others.push_back(number);
    }
}

} // namespace

std::string NormaliseReading(std::string_view utf8)
{
    // ヴ has no half-width letter of its own, and a voicing mark may come as a combining character
    // (ウ and U+3099): both are written ｳﾞ, as the half-width table writes every voiced kana.
    // All four begin with the byte E3, as every full-width kana does: a reading without it (one
    // already in half-width kana) goes to the half-width table as it is.
    std::string marks;
    if (utf8.find('\xE3') != std::string_view::npos) {
        marks = EachChar(utf8, [](std::string_view c, std::string& out) {
            if (IsChar(c, "ヴ") || IsChar(c, "ゔ")) {
                out += "ｳﾞ";
            } else {
                out += IsChar(c, "\u3099") ? "ﾞ" : IsChar(c, "\u309A") ? "ﾟ" : c;
            }
        });
        utf8 = marks;
    }
    std::string half = ToHalfKana(utf8);
    return EachChar(half, [](std::string_view c, std::string& out) {
        if (IsBlank(c) || IsChar(c, "･") || IsChar(c, "・")) {
            return;
        }
        for (const auto& [small, full] : SmallKana) {
            if (IsChar(c, small)) {
                out += full;
                return;
            }
        }
        out += c;
    });
}

std::string FoldKanjiVariants(std::string_view utf8)
{
    // Every character of a name and an address is looked up: by its bytes as one number, halving
    // the table (every variant is three bytes long).
    static constexpr auto sorted = [] {
        std::array<std::pair<std::uint32_t, std::string_view>, KanjiVariants.size()> codes{};
        for (std::size_t i = 0; i < KanjiVariants.size(); ++i) {
            if (KanjiVariants[i].first.size() != 3) {
                throw "every variant is three bytes long"; // stops the build
            }
            codes[i] = {ThreeByteCode(KanjiVariants[i].first), KanjiVariants[i].second};
        }
        std::sort(codes.begin(), codes.end());
        return codes;
    }();
    return EachChar(utf8, [](std::string_view c, std::string& out) {
        if (IsBlank(c)) {
            return;
        }
        if (c.size() == 3) {
            const std::uint32_t code = ThreeByteCode(c);
            auto found = std::lower_bound(sorted.begin(), sorted.end(), code,
                                          [](const auto& entry, std::uint32_t key) { return entry.first < key; });
            if (found != sorted.end() && found->first == code) {
                out += found->second;
                return;
            }
        }
        out += c;
    });
}

std::string NormaliseNumber(std::string_view utf8)
{
    std::string digits;
    bool plus = false;
    EachChar(utf8, [&](std::string_view c, std::string&) {
        if (c.size() == 1 && c[0] >= '0' && c[0] <= '9') {
            digits += c[0];
        } else if (IsFullWidthDigit(c)) {
            digits += static_cast<char>('0' + (static_cast<unsigned char>(c[2]) - 0x90));
        } else if ((IsChar(c, "+") || IsChar(c, "＋")) && digits.empty()) {
            plus = true;
        }
    });
    if (plus && digits.starts_with("81")) {
        digits = digits.substr(2);
        if (!digits.starts_with("0")) {
            digits.insert(digits.begin(), '0');
        }
    }
    return digits.size() < 6 ? std::string() : digits;
}

std::string NormaliseEmail(std::string_view utf8)
{
    std::size_t start = utf8.find_first_not_of(" \t");
    std::size_t end = utf8.find_last_not_of(" \t");
    if (start == std::string_view::npos) {
        return {};
    }
    std::string address(utf8.substr(start, end - start + 1));
    std::size_t at = address.rfind('@');
    if (at == std::string::npos || at == 0 || at + 1 == address.size()) {
        return {};
    }
    for (std::size_t i = at + 1; i < address.size(); ++i) {
        address[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(address[i])));
    }
    return address;
}

PersonKeys KeysOf(const AddressRecord& rec)
{
    PersonKeys keys;
    // Both foldings work character by character and drop blanks: the whole is its two parts.
    auto [readingFamily, readingGiven] = SplitAtBlank(Field(rec.KanaName));
    keys.readingFamily = NormaliseReading(readingFamily);
    keys.readingGiven = NormaliseReading(readingGiven);
    keys.reading = keys.readingFamily + keys.readingGiven;
    auto [family, given] = SplitAtBlank(Field(rec.KanjiName));
    keys.family = FoldKanjiVariants(family);
    keys.given = FoldKanjiVariants(given);
    keys.name = keys.family + keys.given;
    std::string mail = Field(rec.EMail);
    for (std::size_t from = 0; from < mail.size();) {
        const auto separator = std::find_if(mail.begin() + static_cast<std::ptrdiff_t>(from), mail.end(),
                                            [](char c) { return c == ',' || c == ';' || c == ' '; });
        const auto end = static_cast<std::size_t>(separator - mail.begin());
        if (std::string address = NormaliseEmail(std::string_view(mail).substr(from, end - from)); !address.empty()) {
            keys.emails.push_back(address);
        }
        from = end + 1;
    }
    AddNumber(rec, 0, rec.Tel1, keys);
    AddNumber(rec, 1, rec.Fax1, keys);
    AddNumber(rec, 2, rec.Tel2, keys);
    AddNumber(rec, 3, rec.Fax2, keys);
    keys.birthday = GetLong(rec.Birthday);
    keys.address = FoldKanjiVariants(Field(rec.Address1));
    return keys;
}

} // namespace talik
