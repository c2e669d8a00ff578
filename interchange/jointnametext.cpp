#include "interchange/jointnametext.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace talik {
namespace {

constexpr std::string_view FullWidthBlank = "\u3000";
constexpr std::array<std::string_view, 2> Separators = {"・", "、"};

std::string_view TrimBlanks(std::string_view text)
{
    for (;;) {
        if (text.starts_with(' ')) {
            text.remove_prefix(1);
        } else if (text.starts_with(FullWidthBlank)) {
            text.remove_prefix(FullWidthBlank.size());
        } else if (text.ends_with(' ')) {
            text.remove_suffix(1);
        } else if (text.ends_with(FullWidthBlank)) {
            text.remove_suffix(FullWidthBlank.size());
        } else {
            return text;
        }
    }
}

// The first separator at or after `from`, and its length.
std::pair<std::size_t, std::size_t> NextSeparator(std::string_view text, std::size_t from)
{
    std::pair<std::size_t, std::size_t> found{std::string_view::npos, 0};
    for (std::string_view separator : Separators) {
        std::size_t at = text.find(separator, from);
        if (at < found.first) {
            found = {at, separator.size()};
        }
    }
    return found;
}

JointName NameOf(std::string_view piece)
{
    JointName name;
    if (piece.ends_with(DefaultHonorific)) {
        piece = TrimBlanks(piece.substr(0, piece.size() - DefaultHonorific.size()));
    }
    std::size_t blank = std::min(piece.find(' '), piece.find(FullWidthBlank));
    if (blank == std::string_view::npos) {
        name.given = std::string(piece);
    } else {
        name.family = std::string(TrimBlanks(piece.substr(0, blank)));
        name.given = std::string(TrimBlanks(piece.substr(blank)));
    }
    return name;
}

} // namespace

std::vector<JointName> ParseJointNames(std::string_view utf8)
{
    std::vector<JointName> names;
    std::size_t from = 0;
    while (from <= utf8.size() && names.size() < MaxJointNames) {
        auto [at, length] = NextSeparator(utf8, from);
        std::string_view piece = TrimBlanks(utf8.substr(from, at == std::string_view::npos ? at : at - from));
        JointName name = NameOf(piece);
        if (!name.given.empty()) {
            names.push_back(name);
        }
        if (at == std::string_view::npos) {
            break;
        }
        from = at + length;
    }
    return names;
}

} // namespace talik
