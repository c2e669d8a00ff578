// Kana readings: index groups and tabs from the first CP932 byte, and the half-width conversion.
#include "store/kana.h"

#include <cstdint>
#include <unordered_map>

#include "platform/codec.h"

namespace talik {
namespace {

constexpr unsigned char KanaWa = 0xDC;      // half-width "ﾜ", the first byte of group 43
constexpr unsigned char LastLiveByte = 246; // a single byte above it marks a deleted record

constexpr std::array<std::string_view, GroupTotal> GroupCaptions{
    "あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ",
    "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね", "の", "は", "ひ", "ふ", "へ", "ほ",
    "ま", "み", "む", "め", "も", "や", "ゆ", "よ", "ら", "り", "る", "れ", "ろ", "わ", "他",
};
constexpr std::array<std::string_view, RowTabTotal> RowTabCaptions{
    "あ", "か", "さ", "た", "な", "は", "ま", "や", "ら、わ",
};

// One line of the half-width table: each full-width character becomes the half-width character at
// the same position, followed by the voicing mark.
struct KanaRow
{
    std::string_view full;
    std::string_view half;
    std::string_view mark;
};

constexpr std::string_view BasicHalf = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ";
constexpr std::string_view VoicedHalf = "ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎ";
constexpr std::string_view SmallHalf = "ｧｨｩｪｫｯｬｭｮ";

constexpr KanaRow HalfKanaTable[] = {
    {"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん", BasicHalf, ""},
    {"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン", BasicHalf, ""},
    {"がぎぐげござじずぜぞだぢづでどばびぶべぼ", VoicedHalf, "ﾞ"},
    {"ガギグゲゴザジズゼゾダヂヅデドバビブベボ", VoicedHalf, "ﾞ"},
    {"ぱぴぷぺぽ", "ﾊﾋﾌﾍﾎ", "ﾟ"},
    {"パピプペポ", "ﾊﾋﾌﾍﾎ", "ﾟ"},
    {"ぁぃぅぇぉっゃゅょ", SmallHalf, ""},
    {"ァィゥェォッャュョ", SmallHalf, ""},
    {"ー－", "ｰｰ", ""},
    {"　", " ", ""},
    {"゛゜", "ﾞﾟ", ""},
};

// Half-width forms keyed by the CP932 code of the full-width character, so that characters CP932
// folds together (− and －) convert alike.
using HalfKanaMap = std::unordered_map<std::uint16_t, std::string>;

std::uint16_t DoubleByteCode(std::string_view cp932)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(cp932[0]) << 8 | static_cast<unsigned char>(cp932[1]));
}

HalfKanaMap BuildHalfKanaMap()
{
    HalfKanaMap map;
    for (const KanaRow& row : HalfKanaTable) {
        std::string_view full = row.full;
        std::string_view half = row.half;
        while (!full.empty() && !half.empty()) {
            const std::size_t fullLength = Utf8CharLength(full);
            const std::size_t halfLength = Utf8CharLength(half);
            std::string halfForm(half.substr(0, halfLength));
            map.emplace(DoubleByteCode(ToCp932(full.substr(0, fullLength))), halfForm.append(row.mark));
            full.remove_prefix(fullLength);
            half.remove_prefix(halfLength);
        }
    }
    return map;
}

// The half-width form of one character: itself when single-byte in CP932, its table entry when
// double-byte, nothing when it has no entry or CP932 cannot hold it.
// U+FF61..U+FF9F, the half-width katakana: single bytes 0xA1..0xDF in CP932.
bool IsHalfWidthKatakana(std::string_view character)
{
    if (character.size() != 3 || character[0] != '\xEF') {
        return false;
    }
    const auto second = static_cast<unsigned char>(character[1]);
    const auto third = static_cast<unsigned char>(character[2]);
    return (second == 0xBD && third >= 0xA1) || (second == 0xBE && third <= 0x9F);
}

std::string_view HalfFormOf(std::string_view character)
{
    static const HalfKanaMap halfForms = BuildHalfKanaMap();
    // Readings are mostly half-width already: those need no trip through the encoder.
    if (static_cast<unsigned char>(character[0]) < 0x80 || IsHalfWidthKatakana(character)) {
        return character;
    }
    const std::string cp932 = ToCp932(character);
    if (cp932.size() == 1) {
        return cp932 == "?" ? std::string_view() : character;
    }
    const auto found = halfForms.find(DoubleByteCode(cp932));
    return found == halfForms.end() ? std::string_view() : std::string_view(found->second);
}

} // namespace

int KanaGroupOfByte(unsigned char firstByte, bool isDoubleByte)
{
    if (isDoubleByte || firstByte < KanaA || firstByte > KanaWa) {
        return OtherGroup;
    }
    return firstByte - KanaA;
}

int KanaGroupOfBytes(std::string_view cp932)
{
    const auto first = cp932.empty() ? 0 : static_cast<unsigned char>(cp932[0]);
    return KanaGroupOfByte(first, IsLeadByte(first));
}

int KanaGroup(std::string_view utf8Reading)
{
    return KanaGroupOfBytes(ToCp932(utf8Reading.substr(0, Utf8CharLength(utf8Reading))));
}

bool IsDeletedFirstByte(unsigned char firstByte)
{
    return !IsLeadByte(firstByte) && firstByte > LastLiveByte;
}

TabTable MakeTabTable()
{
    TabTable tabs{};
    tabs[0].first = 0;
    for (int i = 0; i <= 6; ++i) {
        tabs[i].last = 5 * i + 4;
        tabs[i + 1].first = 5 * i + 5;
    }
    tabs[7].last = 37;
    tabs[8].first = 38;
    tabs[8].last = OtherGroup;
    return tabs;
}

int TabOfGroup(const TabTable& tabs, ListMode mode, int group)
{
    if (mode == ListMode::Individual) {
        return group;
    }
    for (int tab = 0; tab < RowTabTotal; ++tab) {
        if (tabs[tab].last >= group) {
            return tab;
        }
    }
    return RowTabTotal - 1;
}

std::string GroupCaption(int group)
{
    return group >= 0 && group < GroupTotal ? std::string(GroupCaptions[group]) : std::string();
}

std::string RowTabCaption(int tab)
{
    return tab >= 0 && tab < RowTabTotal ? std::string(RowTabCaptions[tab]) : std::string();
}

std::string ToHalfKana(std::string_view utf8)
{
    std::string out;
    while (!utf8.empty()) {
        const std::size_t length = Utf8CharLength(utf8);
        out.append(HalfFormOf(utf8.substr(0, length)));
        utf8.remove_prefix(length);
    }
    return out;
}

} // namespace talik
