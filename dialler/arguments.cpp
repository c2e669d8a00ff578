#include "dialler/arguments.h"

#include <algorithm>

#include "platform/trim.h"

namespace talik::dialler {
namespace {

constexpr std::string_view NameMarker = "[0]";
constexpr std::string_view PortMarker = "[1]";
constexpr std::string_view InitMarker = "[2]";
constexpr std::string_view EndMarker = "[3]";
constexpr std::size_t MarkerLength = 3;
// "~00" comes before the name.
constexpr int PrefixCharacters = 3;

constexpr bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte offset `count` characters after `from` (or the end).
std::size_t SkipCharacters(std::string_view text, std::size_t from, int count)
{
    for (; count > 0 && from < text.size(); --count) {
        ++from;
        while (from < text.size() && IsContinuationByte(text[from])) {
            ++from;
        }
    }
    return from;
}

// The byte offset of the character that ends just before `pos`.
std::size_t PreviousCharacterStart(std::string_view text, std::size_t pos)
{
    if (pos == 0) {
        return 0;
    }
    --pos;
    while (pos > 0 && IsContinuationByte(text[pos])) {
        --pos;
    }
    return pos;
}

// Only blanks are trimmed, as the address book pads with blanks.
std::string Trim(std::string_view text)
{
    return std::string(TrimOf(text, " "));
}

std::string_view Between(std::string_view text, std::size_t from, std::size_t to)
{
    return to > from ? text.substr(from, to - from) : std::string_view{};
}

// The name runs from the fourth character up to the character before "[0]" (the blank the address
// book puts there).
std::string NameBefore(std::string_view text, std::size_t namePos)
{
    std::size_t start = SkipCharacters(text, 0, PrefixCharacters);
    return Trim(Between(text, start, PreviousCharacterStart(text, namePos)));
}

// After "[2]": the text up to "[3]"; "AT" when "[3]" follows at once, comes first or is missing.
std::string InitStringAfter(std::string_view text, std::size_t initPos)
{
    std::size_t endPos = text.find(EndMarker);
    if (endPos == std::string_view::npos || endPos <= initPos + MarkerLength) {
        return "AT";
    }
    return Trim(Between(text, initPos + MarkerLength, endPos));
}

} // namespace

std::string JoinArguments(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front()) {
            text += ' ';
        }
        text += argument;
    }
    return text;
}

std::optional<DialArguments> ParseArguments(std::string_view text)
{
    if (text.size() < 2 || text.front() != '~') {
        return std::nullopt;
    }
    std::size_t namePos = text.find(NameMarker);
    std::size_t portPos = text.find(PortMarker);
    if (namePos == std::string_view::npos || portPos == std::string_view::npos || portPos < namePos + MarkerLength) {
        return std::nullopt;
    }
    DialArguments args;
    args.name = NameBefore(text, namePos);
    args.number = Trim(Between(text, namePos + MarkerLength, portPos));
    args.dialDigits = DialDigits(args.number);
    std::size_t portStart = portPos + MarkerLength;
    std::size_t prefixStart = SkipCharacters(text, portStart, 1);
    args.port = std::string(Between(text, portStart, prefixStart));
    std::size_t initPos = text.find(InitMarker);
    if (initPos != std::string_view::npos && initPos < prefixStart) {
        return std::nullopt; // "[2]" inside the fields before it: not a line the address book writes
    }
    args.dialPrefix = Trim(Between(text, prefixStart, std::min(initPos, text.size())));
    if (initPos != std::string_view::npos) {
        args.initString = InitStringAfter(text, initPos);
    }
    return args;
}

std::string DialDigits(std::string_view number)
{
    std::string digits;
    for (char c : number) {
        if ((c >= '0' && c <= '9') || c == ',' || c == '#' || c == '*') {
            digits += c;
        }
    }
    return digits;
}

int PortNumber(std::string_view port)
{
    return port.size() == 1 && port[0] >= '0' && port[0] <= '9' ? port[0] - '0' : 0;
}

std::string CalleeCaption(const DialArguments& arguments)
{
    std::string_view number = arguments.number;
    // The window's labels break lines at LF.
    return "電話番号：" + std::string(number.substr(0, number.find(",,"))) + "\n" + arguments.name + "さん";
}

} // namespace talik::dialler
