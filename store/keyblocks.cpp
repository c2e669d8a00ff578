#include "store/keyblocks.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace talik {
namespace {

constexpr std::uint64_t KeyHashFactor = 0x9E3779B97F4A7C15ULL;

// Spreads every bit of `x` over all of them: the table takes the low bits of the hash.
std::uint64_t SpreadKeyHashBits(std::uint64_t x)
{
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDULL;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ULL;
    x ^= x >> 33;
    return x;
}

std::uint64_t TakeKeyWord(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * KeyHashFactor;
    return hash ^ (hash >> 29);
}

} // namespace

std::uint64_t HashBlockKey(char kind, std::string_view text)
{
    std::uint64_t hash = ((static_cast<unsigned char>(kind) + 1) * KeyHashFactor) ^ text.size();
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        hash = TakeKeyWord(hash, word);
    }
    if (at < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, text.size() - at);
        hash = TakeKeyWord(hash, word);
    }
    return SpreadKeyHashBits(hash);
}

KeyBlocks::KeyBlocks(std::size_t slots, BlockKeyHash hash)
    : m_hash(hash), m_slots(std::bit_ceil(std::max<std::size_t>(slots, 2)))
{}

void KeyBlocks::reserve(std::size_t keys)
{
    m_links.reserve(m_links.size() + keys);
    while ((m_used + keys) * 2 > m_slots.size()) {
        grow();
    }
}

bool KeyBlocks::holds(const Slot& slot, std::uint64_t hash, char kind, std::string_view text) const
{
    return slot.hash == hash && slot.keyLength == text.size() + 1 && m_keyBytes[slot.keyAt] == kind &&
           std::string_view(m_keyBytes).substr(slot.keyAt + 1, text.size()) == text;
}

std::size_t KeyBlocks::slotOf(std::uint64_t hash, char kind, std::string_view text) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.keyLength == 0 || holds(slot, hash, kind, text)) {
            return at;
        }
    }
}

void KeyBlocks::file(char kind, std::string_view text, std::uint32_t member)
{
    if ((m_used + 1) * 2 > m_slots.size()) {
        grow();
    }
    const std::uint64_t hash = m_hash(kind, text);
    Slot& slot = m_slots[slotOf(hash, kind, text)];
    const auto link = static_cast<std::uint32_t>(m_links.size());
    m_links.push_back({member, NoLink});
    if (slot.keyLength == 0) {
        slot.hash = hash;
        slot.keyAt = static_cast<std::uint32_t>(m_keyBytes.size());
        slot.keyLength = static_cast<std::uint32_t>(text.size() + 1);
        m_keyBytes += kind;
        m_keyBytes += text;
        slot.first = link;
        ++m_used;
    } else {
        m_links[slot.last].next = link;
    }
    slot.last = link;
    ++slot.count;
}

bool KeyBlocks::appendMembers(char kind, std::string_view text, std::vector<std::uint32_t>& members) const
{
    const Slot& slot = m_slots[slotOf(m_hash(kind, text), kind, text)];
    for (std::uint32_t link = slot.first; link != NoLink; link = m_links[link].next) {
        members.push_back(m_links[link].member);
    }
    return slot.keyLength != 0;
}

std::size_t KeyBlocks::memberCount(char kind, std::string_view text) const
{
    return m_slots[slotOf(m_hash(kind, text), kind, text)].count;
}

// Each key moves to its place in a table twice the size, by the hash it was filed with.
void KeyBlocks::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.keyLength == 0) {
            continue;
        }
        std::size_t at = slot.hash & mask;
        while (m_slots[at].keyLength != 0) {
            at = (at + 1) & mask;
        }
        m_slots[at] = slot;
    }
}

} // namespace talik
