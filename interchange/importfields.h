#pragma once
// Small rules for fields an import fills, beside the column-to-field mapping itself.
#include <string>
#include <string_view>

namespace talik {

struct AddressRecord;

// The text on one line: each line break (CR LF, LF or CR) becomes one blank, blanks at either end
// dropped. An address written on two lines by another program is kept whole in its one-line field.
std::string SingleLine(std::string_view text);

// A number stored in a FAX field is labelled FAX, not TEL: each of Fax1 and Fax2 that holds a number
// and whose kind is still 0 gets kind 1.
void MarkFaxNumbers(AddressRecord& rec);

} // namespace talik
