#pragma once
// A record's lasting identity: 14 printable ASCII characters in the address record's reserved
// bytes, which every copy of the program writes back as it read them. Record numbers are reused
// after a delete; the identity tells that a record is still the same person after edits.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "store/record.h"

namespace talik {

inline constexpr std::size_t IdentityLength = sizeof(AddressRecord::Reserved);

// The record's identity, or "" while it has none (blank reserved bytes, or anything that is not 14
// printable characters without blanks).
std::string RecordIdentity(const AddressRecord& rec);
// A fresh identity: 70 random bits in base32 (A-Z, 2-7).
std::string NewIdentity();

// Identities for a run that makes many (an import, a batch of adds): the device seeds one
// generator once, with more bits than an identity holds, instead of being opened for each.
class IdentitySource
{
public:
    IdentitySource();
    std::string next();

private:
    std::mt19937_64 m_bits;
};
void SetIdentity(AddressRecord& rec, std::string_view identity);
// Gives the record a fresh identity when its reserved bytes are blank; true when it did. Bytes
// that are neither blank nor an identity are left as they are.
bool EnsureIdentity(AddressRecord& rec);

} // namespace talik
