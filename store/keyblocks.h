#pragma once
// The people filed under each key a person is found by: one flat table of slots found by a 64-bit
// hash of the key's bytes (a hash shared by two keys is told apart by comparing the bytes), the
// keys' bytes end to end in one buffer and each key's people in one chain. An import files several
// keys a line: this makes no allocation per key, and frees a handful of buffers when it goes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// A key is its kind (a letter: reading, name, mail, telephone) and its text.
using BlockKeyHash = std::uint64_t (*)(char kind, std::string_view text);
std::uint64_t HashBlockKey(char kind, std::string_view text);

class KeyBlocks
{
public:
    // The table starts with `slots` (rounded up to a power of two) and doubles when half full.
    // `hash` may be one that makes keys share their hashes, to see them told apart all the same.
    explicit KeyBlocks(std::size_t slots = 1024, BlockKeyHash hash = HashBlockKey);

    // Room for `keys` more keys and members without the table growing on the way.
    void reserve(std::size_t keys);
    // Files `member` under the key; a key's members keep the order they were filed in.
    void file(char kind, std::string_view text, std::uint32_t member);
    // Appends the members filed under the key to `members`; false when the key has none.
    bool appendMembers(char kind, std::string_view text, std::vector<std::uint32_t>& members) const;
    // How many members the key has.
    std::size_t memberCount(char kind, std::string_view text) const;
    // How many keys have members.
    std::size_t size() const { return m_used; }

private:
    static constexpr std::uint32_t NoLink = UINT32_MAX;

    struct Slot
    {
        std::uint64_t hash = 0;
        std::uint32_t keyAt = 0;     // in m_keyBytes: the kind, then the text
        std::uint32_t keyLength = 0; // 0: an empty slot (a key has its kind at least)
        std::uint32_t first = NoLink;
        std::uint32_t last = NoLink;
        std::uint32_t count = 0;
    };
    struct Link
    {
        std::uint32_t member;
        std::uint32_t next;
    };

    // The slot of the key, or the empty slot where it would go.
    std::size_t slotOf(std::uint64_t hash, char kind, std::string_view text) const;
    bool holds(const Slot& slot, std::uint64_t hash, char kind, std::string_view text) const;
    void grow();

    BlockKeyHash m_hash;
    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    std::string m_keyBytes;
    std::vector<Link> m_links;
};

} // namespace talik
