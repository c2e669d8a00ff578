#pragma once
// The packed texts of the table rows. Each row is laid down once, as its column count, its column
// lengths and its text bytes, in blocks that never move: a row is then one 32-bit reference however its
// group's list is grown, reordered or trimmed, and 64 000 rows cost a few large allocations instead of
// one each.
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace talik {

// A packed row read in place.
class PackedRow
{
public:
    explicit PackedRow(const char* bytes) : m_bytes(bytes) {}

    int columnCount() const { return static_cast<unsigned char>(m_bytes[0]); }
    std::string_view column(int c) const;
    // The bytes the row takes in its block.
    std::size_t size() const;
    const char* bytes() const { return m_bytes; }

private:
    // Where the texts start, and column c's place among them (c -1: none), read off the lengths.
    struct Layout
    {
        const char* text = nullptr;
        std::size_t begin = 0;
        std::size_t length = 0;
        std::size_t total = 0; // every column's length
    };
    Layout layout(int c) const;

    const char* m_bytes;
};

class RowArena
{
public:
    static constexpr std::size_t BlockSize = 64 * 1024;

    RowArena() = default;
    // A copy holds the same rows under the same references.
    RowArena(const RowArena& other);
    RowArena& operator=(const RowArena& other);
    RowArena(RowArena&&) noexcept = default;
    RowArena& operator=(RowArena&&) noexcept = default;

    // Lays down a row of `count` columns ending at `ends` within `text`; returns its reference.
    std::uint32_t add(const std::uint16_t* ends, int count, std::string_view text);
    // Takes over `other`'s blocks after its own: a reference `ref` of `other` is here
    // `moved(ref, shift)`, with the shift this returns.
    std::uint32_t adopt(RowArena&& other);
    static std::uint32_t moved(std::uint32_t ref, std::uint32_t shift) { return ref + (shift << OffsetBits); }
    // Lays down a copy of a row packed elsewhere.
    std::uint32_t addCopy(PackedRow row);
    PackedRow at(std::uint32_t ref) const;
    // The row is no longer referenced: its bytes count as waste until the arena is rebuilt.
    void release(std::uint32_t ref);
    void clear();
    void swap(RowArena& other) noexcept;

    std::size_t liveBytes() const { return m_live; }
    std::size_t wastedBytes() const { return m_wasted; }
    // True when rebuilding would give back at least half of what the blocks hold.
    bool wasteful() const;

private:
    // A reference is the block's number over the offset within it; a row larger than a block has a
    // block of its own, at offset 0.
    static constexpr int OffsetBits = 16;
    static_assert(BlockSize == std::size_t{1} << OffsetBits);

    // Room for `bytes` more; returns where they go and their reference.
    std::pair<char*, std::uint32_t> room(std::size_t bytes);

    struct Block
    {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };
    void addBlock(std::size_t size);

    std::vector<Block> m_blocks;
    std::size_t m_used = BlockSize; // bytes taken in the last block; a full block at first
    std::size_t m_live = 0;
    std::size_t m_wasted = 0;
};

} // namespace talik
