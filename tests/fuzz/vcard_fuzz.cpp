// A vCard file of any content, read as the import reads it: every card split into properties and
// each made into the record buffers, which keep their sizes and a reading only when they say so.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "interchange/vcardimport.h"
#include "interchange/vcardread.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace talik;
    const std::string file(reinterpret_cast<const char*>(data), size);
    const bool looks = LooksLikeVcard(file);
    const auto cards = ReadVcards(file);
    fuzz::Require(looks || cards.empty(), "cards come only from a file with BEGIN:VCARD");
    const CheckItemNameList names = {"a", "b", "", "", "", "", "", "", "", "", "", "", "", "", ""};
    std::array<char, 15> checks{};
    checks.fill(' ');
    for (const VcardCard& card : cards) {
        for (const VcardProperty& property : card.properties) {
            fuzz::Require(!property.name.empty(), "a property has a name");
            fuzz::Require(fuzz::IsWellFormedUtf8(property.value), "values are read as well-formed UTF-8");
            UnescapeVcardText(property.value);
            SplitVcardValue(property.value, ';');
        }
        AddressRecord rec{};
        ExtraRecord extra{};
        const VcardFill fill = FillFromVcard(card, names, checks, rec, extra);
        fuzz::Require(!fill.hasReading || rec.KanaName[0] != ' ', "a stored reading is not blank");
        std::string again;
        AppendVcard(again, rec, extra, names, VcardVersion::V4);
        fuzz::Require(ReadVcards(again).size() == 1, "a record written as a card reads back as one card");
    }
    return 0;
}
