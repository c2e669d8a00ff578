#include "print/postcardlayout.h"

#include <cctype>
#include <climits>

#include "platform/codec.h"
#include "print/jointnames.h"
#include "store/record.h"
#include "store/settings.h"

namespace talik {
namespace {

// The number the flags text starts with (blanks skipped, reading stops at the first non-digit).
long LeadingNumber(std::string_view text)
{
    std::size_t i = text.find_first_not_of(' ');
    long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 99) {
            break; // only the two digits below are ever read
        }
    }
    return value;
}

} // namespace

std::vector<std::string> SplitChars(std::string_view utf8)
{
    std::vector<std::string> chars;
    chars.reserve(utf8.size()); // at most one character a byte: one allocation, no regrowth
    while (!utf8.empty()) {
        std::size_t length = Utf8CharLength(utf8);
        chars.emplace_back(utf8.substr(0, length));
        utf8.remove_prefix(length);
    }
    return chars;
}

bool IsLineBreak(std::string_view ch)
{
    return ch == "\\" || ch == "￥";
}

bool IsNewNameSeparator(std::string_view ch)
{
    return ch == "@" || ch == "＠";
}

bool IsSpace(std::string_view ch)
{
    return ch == " " || ch == "　";
}

std::string FlagDigits(std::string_view printFlags)
{
    std::string digits = std::to_string(LeadingNumber(printFlags));
    return digits.size() < 2 ? "0" + digits : digits;
}

bool UsesSecondSender(std::string_view printFlags)
{
    return FlagDigits(printFlags)[0] == '1';
}

bool HonorificOnlyAfterLastName(std::string_view printFlags)
{
    return FlagDigits(printFlags)[1] == '1';
}

std::string PrepareRecipientName(std::string_view name,
                                 std::string_view honorific,
                                 bool onlyAfterLastName,
                                 const std::vector<JointName>& jointNames)
{
    const std::string cleanHonorific = CleanFixed(honorific);
    const std::string betweenNames = "　" + (onlyAfterLastName ? std::string() : cleanHonorific);
    // The end marker is the last character; a "!" inside the name is the name's own.
    const bool marked = name.ends_with(NameEndMarker);
    if (marked) {
        name.remove_suffix(NameEndMarker.size());
    }
    std::string prepared;
    for (const std::string& ch : SplitChars(name)) {
        if (IsLineBreak(ch)) {
            prepared += betweenNames + std::string(SameFamilyMark);
        } else if (IsNewNameSeparator(ch)) {
            prepared += betweenNames + std::string(NewNameMark);
        } else {
            prepared += ch;
        }
    }
    if (marked && !jointNames.empty()) {
        prepared += betweenNames + MarkedJointNames(prepared, jointNames, cleanHonorific, onlyAfterLastName);
    } else if (marked) {
        prepared += "　" + cleanHonorific;
    }
    return prepared;
}

std::string CutAtEndMarker(std::string_view name)
{
    if (name.ends_with(NameEndMarker)) {
        name.remove_suffix(NameEndMarker.size());
    }
    return std::string(name);
}

CodeBoxes RecipientCodeBoxes(const PrintLayout& layout)
{
    if (layout.AddrNum7 != 0) {
        return {45.0, 12.5, 6.8, 1.0, INT_MAX};
    }
    return {49.0, 13.0, 9.5, 1.5, 5};
}

std::vector<CardBox> RecipientCodeBoxOutlines(const PrintLayout& layout)
{
    constexpr double Margin = 0.8; // around the digit's top-left corner
    constexpr double BoxHeight = 8.0;
    const bool seven = layout.AddrNum7 != 0;
    const CodeBoxes boxes = RecipientCodeBoxes(layout);
    const int count = seven ? 7 : 5;
    const double width = boxes.step - (seven ? 1.1 : 1.5);
    std::vector<CardBox> outlines;
    double x = boxes.x;
    for (int digit = 1; digit <= count; ++digit) {
        outlines.push_back({x - Margin, boxes.y - Margin, width, BoxHeight});
        x += boxes.step + (digit == 3 ? boxes.gapAfterThird : 0.0);
    }
    return outlines;
}

} // namespace talik
