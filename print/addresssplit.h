#pragma once
// Japanese addresses taken apart where people break them when they write an address by hand:
// prefecture, city or ward, town (with the streets of Kyoto), block numbers and building. Lines
// break only between these parts; a part too long for a line of its own breaks between its
// characters, but never inside a run of digits, a hyphenated number or a word of katakana.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

enum class AddressPartKind
{
    Prefecture,
    City,
    Town,
    Numbers,
    Building,
};

struct AddressPart
{
    AddressPartKind kind;
    std::string text;
};

// The parts of one line of an address, in order; the blank before a building is dropped.
std::vector<AddressPart> SplitAddress(std::string_view address);

// The pieces a part may break between: digit runs with their hyphens, katakana words and Latin
// words stay whole; any other character stands alone.
std::vector<std::string> UnbreakablePieces(std::string_view text);

struct AddressLine
{
    std::string text;
    int indent = 0; // in characters from the start of the first line
    bool building = false;
};

// The length of a text along its line (width across, or height down a column), millimetres.
using TextMeasure = std::function<double(std::string_view)>;

// Breaks an address into lines of at most `lineLength` (indents included, `charLength` each): the
// stored "\" or "￥" breaks always; a line after the first starts one character in, as does the
// building, which always begins a line of its own.
std::vector<AddressLine>
BreakAddress(std::string_view address, double lineLength, double charLength, const TextMeasure& measure);

} // namespace talik

namespace talik {

// A text that is not an address (company, department, a name's line) broken between its pieces
// only: the stored "\" or "￥" breaks always, later lines one character in.
std::vector<AddressLine>
BreakPlain(std::string_view text, double lineLength, double charLength, const TextMeasure& measure);

// The number of lines, or a number past any area when a line is still longer than `lineLength`.
// BreakAddress or BreakPlain.
using Breaker = std::vector<AddressLine> (*)(std::string_view, double, double, const TextMeasure&);

int LinesNeeded(const std::vector<AddressLine>& lines,
                double lineLength,
                double charLength,
                const TextMeasure& measure);

} // namespace talik
