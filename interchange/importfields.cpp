#include "interchange/importfields.h"

#include "store/record.h"

namespace talik {

std::string SingleLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += ' ';
        } else {
            out += text[i];
        }
    }
    const std::size_t first = out.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first, out.find_last_not_of(' ') - first + 1);
}

void MarkFaxNumbers(AddressRecord& rec)
{
    constexpr int FaxKind = 1;
    int kinds = PhoneKindsValue(rec);
    // Slot 1 is Fax1 (the hundreds digit), slot 3 Fax2 (the units digit).
    if (!GetText(rec.Fax1).empty() && PhoneKind(rec, 1) == 0) {
        kinds += FaxKind * 100;
    }
    if (!GetText(rec.Fax2).empty() && PhoneKind(rec, 3) == 0) {
        kinds += FaxKind;
    }
    SetInteger(rec.PhoneKinds, static_cast<std::int16_t>(kinds));
}

} // namespace talik
