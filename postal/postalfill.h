#pragma once
// Filling what an imported address lacks from the postal code list: the code from the address, or
// the address from the code. An import shows no question, so only a single answer is taken.
#include <string>

#include "postal/postalindex.h"

namespace talik {

enum class PostalFill
{
    None,
    Code,    // the code came from the address
    Address, // the address came from the code
};

// `code` and `address` (UTF-8) as one address of a record: the empty one is filled when the other
// gives exactly one place (one code for an address, one place for a code); the code as "150-0001".
PostalFill FillMissingPostal(const PostalIndex& index, std::string& code, std::string& address);

} // namespace talik
