#include "store/rowarena.h"

#include <cstring>

namespace talik {
namespace {

constexpr std::uint32_t OffsetMask = RowArena::BlockSize - 1;

// Rebuilding pays only once the waste is worth a copy of the rest.
constexpr std::size_t WorthRebuilding = 256 * 1024;

// A column's length takes one byte, or - from 255 bytes on - a 255 and the length in two more. Column
// texts are short (a reading, a name, a number): most rows spend a byte per column on their lengths.
constexpr unsigned char LongLength = 255;

std::size_t LengthBytes(std::size_t length)
{
    return length < LongLength ? 1 : 3;
}

std::size_t HeaderSize(const std::uint16_t* ends, int count)
{
    std::size_t bytes = 1;
    for (int c = 0, begin = 0; c < count; begin = ends[c++]) {
        bytes += LengthBytes(static_cast<std::size_t>(ends[c] - begin));
    }
    return bytes;
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

PackedRow::Layout PackedRow::layout(int c) const
{
    Layout found;
    const auto* at = reinterpret_cast<const unsigned char*>(m_bytes) + 1;
    std::size_t offset = 0;
    for (int i = 0; i < columnCount(); ++i) {
        std::size_t length = *at++;
        if (length == LongLength) {
            std::uint16_t wide;
            std::memcpy(&wide, at, sizeof(wide));
            length = wide;
            at += sizeof(wide);
        }
        if (i == c) {
            found.begin = offset;
            found.length = length;
        }
        offset += length;
    }
    found.text = reinterpret_cast<const char*>(at);
    found.total = offset;
    return found;
}

std::string_view PackedRow::column(int c) const
{
    if (c < 0 || c >= columnCount()) {
        return {};
    }
    const Layout found = layout(c);
    return {found.text + found.begin, found.length};
}

std::size_t PackedRow::size() const
{
    const Layout found = layout(-1);
    return static_cast<std::size_t>(found.text - m_bytes) + found.total;
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
    const std::size_t header = HeaderSize(ends, count);
    const auto [at, ref] = room(header + text.size());
    auto* put = reinterpret_cast<unsigned char*>(at);
    *put++ = static_cast<unsigned char>(count);
    for (int c = 0, begin = 0; c < count; begin = ends[c++]) {
        const auto length = static_cast<std::uint16_t>(ends[c] - begin);
        if (LengthBytes(length) == 1) {
            *put++ = static_cast<unsigned char>(length);
        } else {
            *put++ = LongLength;
            std::memcpy(put, &length, sizeof(length));
            put += sizeof(length);
        }
    }
    std::memcpy(at + header, text.data(), text.size());
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
