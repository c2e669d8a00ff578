#include "store/rowarena.h"

#include <cstring>

namespace talik {
namespace {

constexpr std::uint32_t OffsetMask = RowArena::BlockSize - 1;

// Rebuilding pays only once the waste is worth a copy of the rest.
constexpr std::size_t WorthRebuilding = 256 * 1024;

std::size_t PackedSize(int count, std::size_t textBytes)
{
    return 1 + 2 * static_cast<std::size_t>(count) + textBytes;
}

} // namespace

RowArena::RowArena(const RowArena& other) : m_used(other.m_used), m_live(other.m_live), m_wasted(other.m_wasted)
{
    m_blocks.reserve(other.m_blocks.size());
    for (const Block& block : other.m_blocks) {
        addBlock(block.size);
        std::memcpy(m_blocks.back().bytes.get(), block.bytes.get(), block.size);
    }
}

RowArena& RowArena::operator=(const RowArena& other)
{
    if (this != &other) {
        RowArena copy(other);
        swap(copy);
    }
    return *this;
}

void RowArena::addBlock(std::size_t size)
{
    m_blocks.push_back({std::make_unique_for_overwrite<char[]>(size), size});
}

std::uint16_t PackedRow::end(int c) const
{
    std::uint16_t value;
    std::memcpy(&value, m_bytes + 1 + 2 * c, sizeof(value));
    return value;
}

std::string_view PackedRow::column(int c) const
{
    if (c < 0 || c >= columnCount()) {
        return {};
    }
    const std::uint16_t begin = c == 0 ? 0 : end(c - 1);
    return {text() + begin, static_cast<std::size_t>(end(c) - begin)};
}

std::size_t PackedRow::size() const
{
    const int count = columnCount();
    return PackedSize(count, count == 0 ? 0 : end(count - 1));
}

std::pair<char*, std::uint32_t> RowArena::room(std::size_t bytes)
{
    std::size_t offset = m_used;
    if (bytes > BlockSize) {
        addBlock(bytes);
        offset = 0;
        m_used = BlockSize; // the next row starts a block of its own
    } else {
        if (BlockSize - m_used < bytes) {
            m_wasted += BlockSize - m_used;
            addBlock(BlockSize);
            offset = 0;
        }
        m_used = offset + bytes;
    }
    m_live += bytes;
    const auto block = static_cast<std::uint32_t>(m_blocks.size() - 1);
    return {m_blocks.back().bytes.get() + offset, block << OffsetBits | static_cast<std::uint32_t>(offset)};
}

std::uint32_t RowArena::add(const std::uint16_t* ends, int count, std::string_view text)
{
    const auto [at, ref] = room(PackedSize(count, text.size()));
    at[0] = static_cast<char>(count);
    std::memcpy(at + 1, ends, 2 * static_cast<std::size_t>(count));
    std::memcpy(at + 1 + 2 * count, text.data(), text.size());
    return ref;
}

std::uint32_t RowArena::adopt(RowArena&& other)
{
    const auto shift = static_cast<std::uint32_t>(m_blocks.size());
    if (other.m_blocks.empty()) {
        return shift;
    }
    // What is left of this arena's last block stays unused: new rows go on after the other's.
    m_wasted += BlockSize - m_used + other.m_wasted;
    m_live += other.m_live;
    m_used = other.m_used;
    for (Block& block : other.m_blocks) {
        m_blocks.push_back(std::move(block));
    }
    other.clear();
    return shift;
}

std::uint32_t RowArena::addCopy(PackedRow row)
{
    const std::size_t bytes = row.size();
    const auto [at, ref] = room(bytes);
    std::memcpy(at, row.bytes(), bytes);
    return ref;
}

PackedRow RowArena::at(std::uint32_t ref) const
{
    return PackedRow(m_blocks[ref >> OffsetBits].bytes.get() + (ref & OffsetMask));
}

void RowArena::release(std::uint32_t ref)
{
    const std::size_t bytes = at(ref).size();
    m_live -= bytes;
    m_wasted += bytes;
}

void RowArena::clear()
{
    m_blocks.clear();
    m_used = BlockSize;
    m_live = 0;
    m_wasted = 0;
}

void RowArena::swap(RowArena& other) noexcept
{
    m_blocks.swap(other.m_blocks);
    std::swap(m_used, other.m_used);
    std::swap(m_live, other.m_live);
    std::swap(m_wasted, other.m_wasted);
}

bool RowArena::wasteful() const
{
    return m_wasted >= WorthRebuilding && m_wasted >= m_live;
}

} // namespace talik
