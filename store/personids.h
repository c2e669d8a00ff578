#pragma once
// The identities of chosen records, for features that keep data by person: a record written by an
// older copy has none until this program writes it, so it is given one then, under the write lock.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talik {

struct StoreState;

struct PersonIds
{
    std::vector<std::string> identities; // in the order of the record numbers asked for
    std::int32_t missing = 0;            // the first record number that is not a live record
};

// The identities of records `recNos` of the open database; nullopt when the records could not be
// read or written (the user was told), and `missing` set (with nothing written) when one is not live.
std::optional<PersonIds> IdentitiesOfRecords(StoreState& state, const std::vector<std::int32_t>& recNos);

} // namespace talik
