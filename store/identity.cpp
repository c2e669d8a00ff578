#include "store/identity.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace talik {
namespace {

constexpr std::string_view Base32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

bool IsIdentityChar(char c)
{
    return c > ' ' && c <= '~';
}

} // namespace

std::string RecordIdentity(const AddressRecord& rec)
{
    std::string_view bytes(rec.Reserved, sizeof(rec.Reserved));
    return std::all_of(bytes.begin(), bytes.end(), IsIdentityChar) ? std::string(bytes) : std::string();
}

namespace {

std::string IdentityOf(std::uint64_t high, std::uint64_t low)
{
    std::string identity(IdentityLength, 'A');
    for (std::size_t i = 0; i < IdentityLength; ++i) {
        // 14 characters of 5 bits: 64 bits from `high`, 6 more from `low`.
        std::uint64_t bits = i < 12 ? (high >> (i * 5)) : (low >> ((i - 12) * 5));
        identity[i] = Base32[bits & 31U];
    }
    return identity;
}

} // namespace

std::string NewIdentity()
{
    // A new generator per identity: identities are made one at a time, and the device's bits
    // cannot repeat between two copies of the program started at the same moment.
    std::random_device device;
    std::uint64_t high = (static_cast<std::uint64_t>(device()) << 32) | device();
    std::uint64_t low = device();
    return IdentityOf(high, low);
}

IdentitySource::IdentitySource()
{
    // 256 bits from the device: two runs started at the same moment draw apart.
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
    m_bits.seed(seed);
}

std::string IdentitySource::next()
{
    std::uint64_t high = m_bits();
    std::uint64_t low = m_bits();
    return IdentityOf(high, low);
}

void SetIdentity(AddressRecord& rec, std::string_view identity)
{
    std::memset(rec.Reserved, ' ', sizeof(rec.Reserved));
    std::memcpy(rec.Reserved, identity.data(), std::min(identity.size(), sizeof(rec.Reserved)));
}

bool EnsureIdentity(AddressRecord& rec)
{
    // Only blank bytes are ours to fill: whatever else stands there is written back as it was read.
    std::string_view bytes(rec.Reserved, sizeof(rec.Reserved));
    if (!std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\0'; })) {
        return false;
    }
    SetIdentity(rec, NewIdentity());
    return true;
}

} // namespace talik
