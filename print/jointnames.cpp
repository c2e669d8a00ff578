#include "print/jointnames.h"

#include "print/postcardlayout.h"

namespace talik {
namespace {

constexpr char NameSeparator = '\x1e';
constexpr char PartSeparator = '\x1f';

std::vector<std::string> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == separator) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

// The main name's family name: up to its first blank (none when it has no blank).
std::string FamilyOf(std::string_view mainName)
{
    std::string family;
    for (const std::string& ch : SplitChars(mainName)) {
        if (IsSpace(ch)) {
            return family;
        }
        family += ch;
    }
    return {};
}

} // namespace

std::string EncodeJointNames(const std::vector<JointName>& names)
{
    std::string field;
    for (const JointName& name : names) {
        if (!field.empty()) {
            field += NameSeparator;
        }
        field += name.family + PartSeparator + name.given + PartSeparator + name.honorific;
    }
    return field;
}

std::vector<JointName> DecodeJointNames(std::string_view field)
{
    std::vector<JointName> names;
    if (field.empty()) {
        return names;
    }
    for (const std::string& piece : SplitAt(field, NameSeparator)) {
        const std::vector<std::string> parts = SplitAt(piece, PartSeparator);
        if (parts.size() != 3 || parts[1].empty() || names.size() == MaxJointNames) {
            continue;
        }
        names.push_back({parts[0], parts[1], parts[2]});
    }
    return names;
}

std::string MarkedJointNames(std::string_view mainName,
                             const std::vector<JointName>& names,
                             std::string_view honorific,
                             bool onlyAfterLastName)
{
    const std::string family = FamilyOf(mainName);
    std::string marked;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const JointName& name = names[i];
        const bool sameFamily = name.family.empty() || name.family == family;
        const bool last = i + 1 == names.size();
        const std::string own = name.honorific.empty() ? std::string(honorific) : name.honorific;
        marked += sameFamily ? std::string(SameFamilyMark) : std::string(NewNameMark) + name.family + "　";
        marked += name.given + "　" + (onlyAfterLastName && !last ? std::string() : own);
    }
    return marked;
}

} // namespace talik
