#pragma once
// What the font dialog offers for each kind of print: its rows (which printed item each sets), the
// sizes set when the dialog opens on a size of 0, the font names listed, and the size rule.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

struct PrintLayout;

struct FontRow
{
    std::string_view caption;
    int item; // the number appended to "AddrFontName" / "AddrFontSize"
};

struct FontDialogKind
{
    char kind; // PrintKind: "V" postcards, "W" labels, "X" list
    std::string_view caption;
    std::span<const FontRow> rows;
    bool sizes; // the list's sizes are fixed
};

// nullptr for a kind the dialog does not know.
const FontDialogKind* FontDialogKindOf(char kind);

// The sizes the dialog sets when it opens on a stored size of 0 (postcards 16, 20, 20, 20, 32, 14,
// 16; labels 10, 10, 10, 10, 14; the list none). True when a size changed.
bool SetOpeningFontSizes(PrintLayout& layout, char kind);

inline constexpr int MinFontSize = 6;
inline constexpr int MaxFontSize = 999;
// The size a size box stands for when it is left: digits only; empty counts as 6, below 6 becomes
// 6. nullopt when the text holds anything but digits (the box keeps its stored size then).
std::optional<int> FontSizeFromBox(std::string_view text);

// The names a row offers: the system's families in its order, each once, the "@" vertical variants
// folded into their base names, and the stored name first when the system has no such family (the
// stored defaults print through a substitution), so that opening the dialog changes nothing.
std::vector<std::string> FontChoices(const std::vector<std::string>& systemFamilies, const std::string& stored);

// The sample shown beside each name, in that font.
inline constexpr std::string_view FontSample = "あア亜 〒123";

} // namespace talik
