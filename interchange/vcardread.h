#pragma once
// Reading vCard files of versions 2.1, 3.0 and 4.0 into cards of properties.
//
// Lines are unfolded; 2.1's quoted-printable values (with their soft line breaks) are decoded and
// a value marked CHARSET=SHIFT_JIS is read as CP932, as phones write them. A value that is not
// well-formed UTF-8 and carries no charset is read as CP932 too. A property's group ("item1.")
// is dropped; cards nested inside a card (AGENT) are skipped.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talik {

struct VcardProperty
{
    std::string name;                                        // upper case, group dropped
    std::vector<std::pair<std::string, std::string>> params; // names upper case; a bare 2.1 value is a TYPE
    std::string value;                                       // UTF-8, still escaped as in the file

    // True when a parameter `name` has `value` among its comma-separated values (case ignored).
    bool has(std::string_view name, std::string_view value) const;
    // The first value of parameter `name`; empty when there is none.
    std::string param(std::string_view name) const;
    // The whole value of parameter `name`, commas and all; empty when there is none.
    std::string paramText(std::string_view name) const;
};

struct VcardCard
{
    std::string version; // "2.1", "3.0", "4.0" or what the card says
    std::vector<VcardProperty> properties;

    // The first property called `name`; null when there is none.
    const VcardProperty* find(std::string_view name) const;
};

// True when a line of the file (after a byte-order mark) is BEGIN:VCARD.
bool LooksLikeVcard(std::string_view file);
// True when the first line of the file (after a byte-order mark and blank lines) is BEGIN:VCARD.
bool StartsAsVcard(std::string_view file);

// Every card of the file, in order; a card not closed by END:VCARD ends with the file.
std::vector<VcardCard> ReadVcards(std::string_view file);

// The cards of a file one at a time, as ReadVcards reads them: an import holds one card, not
// every card of the file, beside the file's bytes.
class VcardCardReader
{
public:
    explicit VcardCardReader(std::string_view file);
    // The next card into `card`; false when the file holds no more.
    bool next(VcardCard& card);
    // How far reading got, in bytes of the file (after its byte-order mark), and of how many.
    std::size_t position() const { return m_at; }
    std::size_t size() const { return m_file.size(); }

private:
    std::string_view m_file;
    std::size_t m_at = 0;
};

// A text value with its escapes resolved ("\n" and "\N" a line break).
std::string UnescapeVcardText(std::string_view value);
// A structured or list value split at every unescaped `separator`, each part unescaped.
std::vector<std::string> SplitVcardValue(std::string_view value, char separator);

} // namespace talik
