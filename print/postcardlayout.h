#pragma once
// The text rules of the postcard that need no drawing: several names in one name field, where the
// honorific goes, which sender a card uses, and the characters that break lines.
#include <string>
#include <string_view>
#include <vector>

#include "store/sidestore.h"

namespace talik {

struct PrintLayout;

// Where the digits of a postal code go: printed boxes on the card, or the sender's small code.
struct CodeBoxes
{
    double x, y;
    double step;          // from one digit to the next
    double gapAfterThird; // the extra space between the three- and four-digit parts
    int maxDigits;
};

// The recipient's code boxes of the card: seven with "AddrNum7", else five.
CodeBoxes RecipientCodeBoxes(const PrintLayout& layout);

// The card and its printed code boxes as the preview pictures them, millimetres on the card; each
// box is drawn around the place where the engine puts its digit.
inline constexpr double PostcardWidth = 100;
inline constexpr double PostcardHeight = 148;
struct CardBox
{
    double x, y, width, height;
};
std::vector<CardBox> RecipientCodeBoxOutlines(const PrintLayout& layout);

// The print table marks the end of each name with "!", to be replaced by the honorific.
inline constexpr std::string_view NameEndMarker = "!";
// What a prepared name carries where a further name begins; never printed.
inline constexpr std::string_view SameFamilyMark = "%"; // the next name stands under the given name
inline constexpr std::string_view NewNameMark = "{";    // the next name starts at the section's start

// The characters of a UTF-8 text, one string each.
std::vector<std::string> SplitChars(std::string_view utf8);

// "\" or "￥": ends a line (column) of an address, or separates a further name of the same family.
bool IsLineBreak(std::string_view ch);
// "@" or "＠": separates an unrelated further name.
bool IsNewNameSeparator(std::string_view ch);
// " " or "　".
bool IsSpace(std::string_view ch);

// The print flags as two digits ("0" -> "00", "10" -> "10"): the first chooses the sender, the
// second puts the honorific after the last name only.
std::string FlagDigits(std::string_view printFlags);
bool UsesSecondSender(std::string_view printFlags);
bool HonorificOnlyAfterLastName(std::string_view printFlags);

// The recipient's name ready to print: each separator becomes "　", the honorific (none when only the
// last name carries it) and the mark of the kind of name that follows; a trailing end marker
// becomes "　" and the honorific. A name prepared before comes back unchanged.
// Joint names follow the main name, each with its own honorific.
std::string PrepareRecipientName(std::string_view name,
                                 std::string_view honorific,
                                 bool onlyAfterLastName,
                                 const std::vector<JointName>& jointNames = {});
// The sender's name without its trailing end marker (a sender gets no honorific).
std::string CutAtEndMarker(std::string_view name);

} // namespace talik
