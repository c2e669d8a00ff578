#include "print/fontchoice.h"

#include <algorithm>
#include <array>

#include "store/settings.h"

namespace talik {
namespace {

constexpr std::array<FontRow, 7> PostcardRows{{
    {"郵便番号", 0},
    {"相手先住所", 1},
    {"会社名", 2},
    {"部署名", 3},
    {"相手先氏名", 4},
    {"差出人住所", 5},
    {"差出人氏名", 6},
}};
constexpr std::array<FontRow, 5> LabelRows{{
    {"郵便番号", 10},
    {"相手先住所", 11},
    {"会社名", 12},
    {"部署名", 13},
    {"相手先氏名", 14},
}};
constexpr std::array<FontRow, 1> ListRows{{{"一覧表フォント", 9}}};

constexpr std::array<FontDialogKind, 3> Kinds{{
    {'V', "はがき印刷フォント選択", PostcardRows, true},
    {'W', "タックシール印刷フォント選択", LabelRows, true},
    {'X', "一覧表印刷フォント選択", ListRows, false},
}};

constexpr std::array<int, 7> PostcardOpeningSizes{16, 20, 20, 20, 32, 14, 16};
constexpr std::array<int, 5> LabelOpeningSizes{10, 10, 10, 10, 14};

bool FillZeros(PrintLayout& layout, std::span<const FontRow> rows, std::span<const int> sizes)
{
    bool changed = false;
    for (std::size_t i = 0; i < rows.size() && i < sizes.size(); ++i) {
        int& size = layout.AddrFontSize[static_cast<std::size_t>(rows[i].item)];
        if (size == 0) {
            size = sizes[i];
            changed = true;
        }
    }
    return changed;
}

} // namespace

const FontDialogKind* FontDialogKindOf(char kind)
{
    const auto found =
        std::find_if(Kinds.begin(), Kinds.end(), [kind](const FontDialogKind& k) { return k.kind == kind; });
    return found != Kinds.end() ? &*found : nullptr;
}

bool SetOpeningFontSizes(PrintLayout& layout, char kind)
{
    switch (kind) {
    case 'V':
        return FillZeros(layout, PostcardRows, PostcardOpeningSizes);
    case 'W':
        return FillZeros(layout, LabelRows, LabelOpeningSizes);
    default:
        return false;
    }
}

std::optional<int> FontSizeFromBox(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    text = first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        return std::nullopt;
    }
    const std::size_t significant = std::min(text.find_first_not_of('0'), text.size());
    text.remove_prefix(significant);
    if (text.size() > 3) {
        return MaxFontSize;
    }
    const int size = text.empty() ? 0 : std::stoi(std::string(text));
    return std::clamp(size, MinFontSize, MaxFontSize);
}

std::vector<std::string> FontChoices(const std::vector<std::string>& systemFamilies, const std::string& stored)
{
    std::vector<std::string> names;
    for (const std::string& family : systemFamilies) {
        const std::string name = !family.empty() && family[0] == '@' ? family.substr(1) : family;
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    if (!stored.empty() && std::find(names.begin(), names.end(), stored) == names.end()) {
        names.insert(names.begin(), stored);
    }
    return names;
}

} // namespace talik
