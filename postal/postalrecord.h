#pragma once
// The import's use of the postal code list on a record about to be stored.
#include "postal/postalindex.h"

namespace talik {

struct AddressRecord;

// Fills the missing code or address of each of the record's two addresses (FillMissingPostal); an
// address that would not fit its field is left out rather than stored cut. True when something was
// filled.
bool FillRecordPostal(const PostalIndex& index, AddressRecord& rec);

} // namespace talik
