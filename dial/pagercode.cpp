// Pager message codes, message files and the decisions of the call confirmation.
#include "dial/pagercode.h"

#include <array>

#include "listwin/appstate.h"
#include "platform/codec.h"
#include "platform/profile.h"
#include "store/kana.h"
#include "store/record.h"

namespace talik {
namespace {

// --- normalising ---------------------------------------------------------------------------------

constexpr std::string_view KeptSymbols = "?!\\#*/-& ";
constexpr char32_t FullWidthFirst = 0xFF01; // "！", the full-width form of "!"
constexpr char32_t FullWidthLast = 0xFF5E;  // "～"
constexpr char32_t FullWidthOffset = FullWidthFirst - U'!';
constexpr char32_t HalfPunctuationLast = 0xFF65; // "｡｢｣､･" have no kana form
constexpr char32_t HalfKanaLast = 0xFF9F;

char32_t DecodeChar(std::string_view utf8)
{
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (utf8.size() == 1) {
        return lead;
    }
    char32_t c = lead & (0x7F >> utf8.size());
    for (char trail : utf8.substr(1)) {
        c = c << 6 | (static_cast<unsigned char>(trail) & 0x3F);
    }
    return c;
}

// The character after the narrowing to half width. Full-width ASCII, the ideographic space, "￥"
// (whose half-width form is CP932's single-byte "\"), "−" (which CP932 keeps as "－") and "ヴ"
// narrow here; katakana and hiragana are left to the kana form below, which gives the same.
std::string NarrowChar(std::string_view character)
{
    const char32_t c = DecodeChar(character);
    if (c >= FullWidthFirst && c <= FullWidthLast) {
        return std::string(1, static_cast<char>(c - FullWidthOffset));
    }
    switch (c) {
    case U'　':
        return " ";
    case U'￥':
        return "\\";
    case U'−':
        return "-";
    case U'ヴ':
        return "ｳﾞ";
    default:
        return std::string(character);
    }
}

// Characters the pager takes as they are.
bool IsKept(char32_t c)
{
    if (c >= 0x80) {
        return false;
    }
    return (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') ||
           KeptSymbols.find(static_cast<char>(c)) != std::string_view::npos;
}

// A character that is not kept goes to full width and back to half-width katakana: ASCII and the
// half-width punctuation have no kana form and vanish, half-width kana come back as themselves.
std::string KanaForm(std::string_view character)
{
    const char32_t c = DecodeChar(character);
    if (c < 0x80 || (c >= 0xFF61 && c <= HalfPunctuationLast)) {
        return {};
    }
    if (c > HalfPunctuationLast && c <= HalfKanaLast) {
        return std::string(character);
    }
    return ToHalfKana(character);
}

// Calls `each` with every UTF-8 character of `text`.
template <class Each> void ForEachChar(std::string_view text, Each each)
{
    while (!text.empty()) {
        const std::size_t length = Utf8CharLength(text);
        each(text.substr(0, length));
        text.remove_prefix(length);
    }
}

// --- code tables ---------------------------------------------------------------------------------

// The kana, coded alike in both systems: row digit, then column digit.
struct CodeRow
{
    char row;
    std::string_view characters; // five, one per column
};
constexpr std::array<CodeRow, 10> SharedGrid{{
    {'1', "ｱｲｳｴｵ"},
    {'2', "ｶｷｸｹｺ"},
    {'3', "ｻｼｽｾｿ"},
    {'4', "ﾀﾁﾂﾃﾄ"},
    {'5', "ﾅﾆﾇﾈﾉ"},
    {'6', "ﾊﾋﾌﾍﾎ"},
    {'7', "ﾏﾐﾑﾒﾓ"},
    {'8', "ﾔ(ﾕ)ﾖ"},
    {'9', "ﾗﾘﾙﾚﾛ"},
    {'0', "ﾜｦﾝﾞﾟ"},
}};

struct CodePair
{
    std::string_view character;
    std::string_view first;  // MsgType 1
    std::string_view second; // MsgType 2 and any other
};
// Letters, digits and signs: A-D and 0 are coded alike, the others differ between the systems.
// clang-format off
constexpr CodePair CodePairs[] = {
    {"A", "16", "16"}, {"B", "17", "17"}, {"C", "18", "18"}, {"D", "19", "19"}, {"0", "00", "00"},
    {"E", "26", "10"},  {"1", "10", "96"},
    {"F", "27", "26"},  {"2", "20", "97"},
    {"G", "28", "27"},  {"3", "30", "98"},
    {"H", "29", "28"},  {"4", "40", "99"},
    {"I", "36", "29"},  {"5", "50", "90"},
    {"J", "37", "20"},  {"6", "60", "06"},
    {"K", "38", "36"},  {"7", "70", "07"},
    {"L", "39", "37"},  {"8", "80", "08"},
    {"M", "46", "38"},  {"9", "90", "09"},
    {"N", "47", "39"},  {"?", "78", "67"},
    {"O", "48", "30"},  {"!", "79", "68"},
    {"P", "49", "46"},  {"\\", "89", "76"},
    {"Q", "56", "47"},  {"&", "08", "77"},
    {"R", "57", "48"},  {"/", "06", "60"},
    {"S", "58", "49"},  {"-", "07", "69"},
    {"T", "59", "40"},  {"ｰ", "07", "69"},
    {"U", "66", "56"},  {"#", "86", "87"},
    {"V", "67", "57"},  {"*", "87", "86"},
    {"W", "68", "58"},  {" ", "09", "88"},
    {"X", "69", "59"},
    {"Y", "76", "50"},
    {"Z", "77", "66"},
};
// clang-format on

std::string GridCode(std::string_view character)
{
    for (const CodeRow& row : SharedGrid) {
        std::string_view cells = row.characters;
        for (char column = '1'; !cells.empty(); ++column) {
            const std::size_t length = Utf8CharLength(cells);
            if (cells.substr(0, length) == character) {
                return {row.row, column};
            }
            cells.remove_prefix(length);
        }
    }
    return {};
}

// The code of one character; empty when it has none.
std::string CodeOf(std::string_view character, int msgType)
{
    for (const CodePair& pair : CodePairs) {
        if (pair.character == character) {
            return std::string(PagerOptionOf(msgType) == 1 ? pair.first : pair.second);
        }
    }
    return GridCode(character);
}

// --- message files and the confirmation ---------------------------------------------------------

constexpr int PagerKind = 2;
constexpr std::string_view MessageSection = "Tel_Option";
constexpr std::string_view MessageKey = "Message";
constexpr std::string_view NoMessage = "*"; // the default that tells a missing key from an empty one
constexpr std::size_t MessageBuffer = 80;

int DialSlotKind(const AppState& state)
{
    return PhoneKind(state.Rec, state.DialSlot);
}

} // namespace

std::string NormalisePagerText(std::string_view typed)
{
    std::string out;
    ForEachChar(typed, [&](std::string_view character) {
        ForEachChar(NarrowChar(character), [&](std::string_view narrow) {
            char32_t c = DecodeChar(narrow);
            if (c >= U'a' && c <= U'z') {
                c -= U'a' - U'A';
            }
            out += IsKept(c) ? std::string(1, static_cast<char>(c)) : KanaForm(narrow);
        });
    });
    return out;
}

std::string PagerCodes(std::string_view normalised, int msgType)
{
    std::string codes;
    ForEachChar(normalised, [&](std::string_view character) { codes += CodeOf(character, msgType); });
    return codes;
}

int PagerOptionOf(int msgType)
{
    return msgType == 1 ? 1 : 2;
}

std::string ReadMessageFile(const std::string& path)
{
    std::string value = GetPrivateProfileString(MessageSection, MessageKey, NoMessage, MessageBuffer, path);
    return value.starts_with(NoMessage) ? std::string() : CleanFixed(value);
}

bool WriteMessageFile(const std::string& path, std::string_view message)
{
    return WritePrivateProfileString(MessageSection, MessageKey, CleanFixed(message), path);
}

bool KindTakesMessage(int phoneKind)
{
    return phoneKind >= PagerKind;
}

bool KindDialsMessage(int phoneKind)
{
    return phoneKind == PagerKind;
}

CallLook LookOfCall(const AppState& state)
{
    const int kind = DialSlotKind(state);
    CallLook look;
    look.name = GetText(state.Rec.KanjiName);
    // Only blanks are trimmed: the full-width padding of the kind names stays, as in the list menus.
    look.kindAndNumber = CleanFixed(PhoneKindNames[kind]) + "：" + state.DialNumber;
    look.outsideLineCaption = "外線コール（ " + CleanFixed(state.settings.ComExtTel) + " ）";
    look.outsideLineChecked = state.settings.ExtTelFlag != 0;
    look.messageEnabled = KindTakesMessage(kind);
    return look;
}

std::string
FinalDialNumber(std::string_view number, bool outsideLine, std::string_view prefix, std::string_view message)
{
    std::string dial;
    if (outsideLine) {
        dial.append(CleanFixed(prefix)).append(",");
    }
    return dial.append(number).append(",,").append(message);
}

void ConfirmCall(AppState& state, bool outsideLine, std::string_view messageBox)
{
    // The slot's own number decides: the outside-line prefix alone would take a line and call
    // nobody, and a pager message would go out where the number belongs.
    if (CleanFixed(state.DialNumber).empty()) {
        state.EditStatus = 'N';
        state.ui.message(std::string(NoNumberMessage), MessageIcon::Exclamation);
        return;
    }
    const std::string message = KindDialsMessage(DialSlotKind(state)) ? CleanFixed(messageBox) : std::string();
    state.DialNumber = FinalDialNumber(state.DialNumber, outsideLine, state.settings.ComExtTel, message);
    state.EditStatus = 'Y';
}

void CancelCall(AppState& state)
{
    state.EditStatus = 'N';
}

} // namespace talik
