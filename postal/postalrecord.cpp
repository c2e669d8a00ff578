#include "postal/postalrecord.h"

#include "postal/postalfill.h"
#include "store/record.h"

namespace talik {
namespace {

bool FillPair(const PostalIndex& index, char (&codeField)[10], char (&addressField)[80])
{
    std::string code = GetText(codeField);
    std::string address = GetText(addressField);
    switch (FillMissingPostal(index, code, address)) {
    case PostalFill::Code:
        SetText(codeField, code);
        return true;
    case PostalFill::Address:
        if (!FitsField(sizeof(addressField), address)) {
            return false;
        }
        SetText(addressField, address);
        return true;
    case PostalFill::None:
        break;
    }
    return false;
}

} // namespace

bool FillRecordPostal(const PostalIndex& index, AddressRecord& rec)
{
    bool first = FillPair(index, rec.PostCode1, rec.Address1);
    bool second = FillPair(index, rec.PostCode2, rec.Address2);
    return first || second;
}

} // namespace talik
