#include "sync/cardmap.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "interchange/vcardimport.h"
#include "interchange/vcardread.h"
#include "store/identity.h"

namespace talik {
namespace {

void Mix(std::uint64_t& hash, std::string_view bytes)
{
    for (unsigned char c : bytes) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    hash = (hash ^ 0xff) * 0x100000001b3ULL; // a separator, so "ab","c" differs from "a","bc"
}

// The lines of a card with their continuations joined, line ends dropped.
std::vector<std::string> UnfoldedLines(std::string_view card)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < card.size()) {
        std::size_t end = card.find('\n', at);
        std::string_view line = card.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? card.size() : end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if ((line.starts_with(' ') || line.starts_with('\t')) && !lines.empty()) {
            lines.back() += line.substr(1);
        } else if (!line.empty()) {
            lines.emplace_back(line);
        }
    }
    return lines;
}

// The property name of an unfolded line, upper case, group dropped.
std::string LineName(std::string_view line)
{
    std::size_t end = line.find_first_of(":;");
    std::string name(line.substr(0, end));
    std::size_t dot = name.find('.');
    if (dot != std::string::npos) {
        name.erase(0, dot + 1);
    }
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

} // namespace

bool OwnedProperty(std::string_view name)
{
    static constexpr std::array<std::string_view, 20> owned = {"BEGIN",
                                                               "END",
                                                               "VERSION",
                                                               "N",
                                                               "FN",
                                                               "TEL",
                                                               "EMAIL",
                                                               "ADR",
                                                               "ORG",
                                                               "TITLE",
                                                               "NOTE",
                                                               "BDAY",
                                                               "CATEGORIES",
                                                               "SORT-STRING",
                                                               "SOUND",
                                                               "X-PHONETIC-FIRST-NAME",
                                                               "X-PHONETIC-LAST-NAME",
                                                               "PRODID",
                                                               "REV",
                                                               "LABEL"};
    for (std::string_view own : owned) {
        if (name == own) {
            return true;
        }
    }
    return name.starts_with("X-TALIK-");
}

std::string PersonHash(const Person& person)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    AddressRecord rec = person.rec;
    std::fill(std::begin(rec.Reserved), std::end(rec.Reserved), ' ');
    Mix(hash, std::string_view(reinterpret_cast<const char*>(&rec), sizeof rec));
    Mix(hash, std::string_view(reinterpret_cast<const char*>(&person.extra), sizeof person.extra));
    for (const JointName& name : person.joint) {
        Mix(hash, name.family);
        Mix(hash, name.given);
        Mix(hash, name.honorific);
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string CardForPerson(const Person& person,
                          const CheckItemNameList& checkNames,
                          const std::string& uid,
                          std::string_view serverCard)
{
    std::string ours;
    AppendVcard(ours, person.rec, person.extra, checkNames, VcardVersion::V3, person.joint);
    std::vector<std::string> lines = UnfoldedLines(ours);
    std::string card;
    bool hasUid = false;
    // Ours first, without the closing END, then what the server had that we do not write.
    for (const std::string& line : lines) {
        if (LineName(line) != "END") {
            card += FoldVcardLine(line);
        }
    }
    for (const std::string& line : UnfoldedLines(serverCard)) {
        std::string name = LineName(line);
        if (OwnedProperty(name)) {
            continue;
        }
        hasUid = hasUid || name == "UID";
        card += FoldVcardLine(line);
    }
    if (!hasUid) {
        card += FoldVcardLine("UID:" + EscapeVcardText(uid));
    }
    card += "END:VCARD\r\n";
    return card;
}

std::optional<Person> PersonFromCard(std::string_view card, const CheckItemNameList& checkNames)
{
    std::vector<VcardCard> cards = ReadVcards(card);
    if (cards.empty()) {
        return std::nullopt;
    }
    Person person;
    std::array<char, 15> checks;
    checks.fill(' ');
    VcardFill fill = FillFromVcard(cards[0], checkNames, checks, person.rec, person.extra);
    if (!fill.hasReading) {
        return std::nullopt;
    }
    person.joint = fill.joint;
    return person;
}

std::string CardUid(std::string_view card)
{
    for (const std::string& line : UnfoldedLines(card)) {
        if (LineName(line) == "UID") {
            std::size_t colon = line.find(':');
            return colon == std::string::npos ? std::string() : UnescapeVcardText(line.substr(colon + 1));
        }
    }
    return {};
}

} // namespace talik
