// CP932 <-> UTF-8, both ways through tables the build makes from this system's iconv: loading a
// database decodes every listed field of every record, and a print job encodes every line it takes.
#include "platform/codec.h"

#include "platform/cp932table.h"
#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace talik {
namespace {

bool IsEscape(char32_t code)
{
    return code >= EscapeBase + 0x80 && code <= EscapeBase + 0xFF;
}

constexpr char32_t HalfKanaBase = 0xFF61; // U+FF61 is byte 0xA1

// `utf8` holds one character of at most three bytes.
Utf8Unit UnitOf(std::string_view utf8)
{
    Utf8Unit unit;
    std::copy(utf8.begin(), utf8.end(), unit.bytes.begin());
    unit.length = static_cast<unsigned char>(utf8.size());
    return unit;
}

Utf8Unit UnitOf(char32_t code)
{
    std::string utf8;
    AppendUtf8(utf8, code);
    return UnitOf(utf8);
}

// The UTF-8 form of each byte 0x80-0xFF taken alone: half-width katakana or an escape. With the
// pairs' table, all decoding needs: it never calls iconv.
using SingleByteTable = std::array<Utf8Unit, 0x80>;

SingleByteTable BuildSingleByteTable()
{
    SingleByteTable single{};
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const bool halfKana = b >= 0xA1 && b <= 0xDF;
        single[b - 0x80] = UnitOf(halfKana ? HalfKanaBase + (b - 0xA1) : EscapeBase + b);
    }
    return single;
}

// The decoded pair at `bytes[0..1]`, or nullptr when the bytes do not form one.
const Utf8Unit* FindPair(const unsigned char* bytes, const unsigned char* end)
{
    if (end - bytes < 2 || !IsLeadByte(bytes[0]) || bytes[1] < Cp932TrailFirst || bytes[1] > Cp932TrailLast) {
        return nullptr;
    }
    const Utf8Unit& unit = Cp932Pairs[Cp932PairIndex(bytes[0], bytes[1])];
    return unit.length != 0 ? &unit : nullptr;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Appends the CP932 form of a well-formed character that is no escape: "?" where CP932 has none.
void AppendCp932(std::string& out, char32_t code)
{
    const std::uint16_t bytes = code < Cp932EncodedCount ? Cp932Encodings[code] : 0;
    if (bytes == 0) {
        out += '?';
    } else if (bytes < 0x100) {
        out += static_cast<char>(bytes);
    } else {
        out += static_cast<char>(bytes >> 8);
        out += static_cast<char>(bytes & 0xFF);
    }
}

} // namespace

std::size_t Utf8CharLength(std::string_view utf8)
{
    return utf8.empty() ? 0 : DecodeUtf8(utf8).length;
}

char* DecodeCp932Into(char* dst, std::string_view bytes)
{
    static const SingleByteTable single = BuildSingleByteTable();
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = src + bytes.size();
    while (src < end) {
        if (*src < 0x80) {
            *dst++ = static_cast<char>(*src++);
            continue;
        }
        const Utf8Unit* pair = FindPair(src, end);
        const Utf8Unit& unit = pair != nullptr ? *pair : single[*src - 0x80];
        std::copy(unit.bytes.begin(), unit.bytes.end(), dst);
        dst += unit.length;
        src += pair != nullptr ? 2 : 1;
    }
    return dst;
}

void AppendFromCp932(std::string& out, std::string_view bytes)
{
    if (IsAscii(bytes)) {
        out.append(bytes);
        return;
    }
    // Write straight into room for the longest outcome (one byte -> three), then cut to size.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * MaxUtf8PerCp932Byte);
    char* dst = DecodeCp932Into(out.data() + start, bytes);
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::string FromCp932(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    AppendFromCp932(out, bytes);
    return out;
}

std::string ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        const Utf8Char c = DecodeUtf8(utf8.substr(i));
        if (c.code == MalformedUtf8) {
            out += '?';
        } else if (IsEscape(c.code)) {
            out += static_cast<char>(c.code - EscapeBase);
        } else {
            AppendCp932(out, c.code);
        }
        i += c.length;
    }
    return out;
}

long AnsiLen(std::string_view utf8)
{
    return static_cast<long>(ToCp932(utf8).size());
}

std::string AnsiMid(std::string_view utf8, long start, long length)
{
    const std::string bytes = ToCp932(utf8);
    const long size = static_cast<long>(bytes.size());
    if (length <= 0 || start > size) {
        return {};
    }
    // Bytes before the first one are not there to take; start + length cannot overflow when start < 1.
    const long first = std::max(start, 1L);
    const long wanted = start < 1 ? start + length - 1 : length;
    const long taken = std::min(wanted, size - first + 1);
    if (taken <= 0) {
        return {};
    }
    return FromCp932(
        std::string_view(bytes).substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(taken)));
}

} // namespace talik
