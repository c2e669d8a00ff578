#pragma once
// What an import may fill into a record just before it is stored.
#include <functional>

namespace talik {

struct AddressRecord;

// Fills what a record of an import lacks (the postal code from the address, the address from the
// code); true when it filled something.
using ImportRecordFill = std::function<bool(AddressRecord&)>;

} // namespace talik
