#pragma once
// The text rules of postal codes and addresses: how a typed code is read, and how an address is
// folded so that the ways people (and the two files of the national list) write the same place
// compare equal.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

// The seven ASCII digits of a typed postal code: ASCII or full-width digits, optionally one hyphen
// (any of the dashes people type) after the third digit, blanks and a leading "〒" ignored.
// nullopt when the text is not such a code.
std::optional<std::string> NormalizePostalCode(std::string_view text);

// "1500001" -> "150-0001", as the code boxes show it.
std::string HyphenatedPostalCode(std::string_view sevenDigits);

// The form of an address used for matching: blanks dropped, ASCII digits made full-width, the
// minus and dash variants made U+FF0D and the wave dash U+FF5E (Shift-JIS as decoded here has
// those, the UTF-8 list U+2212 and U+301C), small ヶ/ヵ made ケ/カ (the list writes 旭ケ丘, people
// write 旭ヶ丘).
std::string FoldAddress(std::string_view utf8);

// UTF-8 <-> UTF-16, as the index keeps its texts. Malformed UTF-8 becomes U+FFFD.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

} // namespace talik
