#pragma once
// The UTF-8 form of every CP932 lead/trail pair, and the CP932 form of every character, compiled
// into the programs: the build makes the tables from this system's iconv, so that neither decoding
// nor encoding has to ask iconv while a program runs.
#include <array>
#include <cstddef>
#include <cstdint>

namespace talik {

// A decoded character in UTF-8 (at most three bytes: CP932 holds only BMP characters); length 0
// marks a pair CP932 does not define.
struct Utf8Unit
{
    std::array<char, 3> bytes{};
    unsigned char length = 0;
};

inline constexpr unsigned Cp932TrailFirst = 0x40;
inline constexpr unsigned Cp932TrailLast = 0xFC;
inline constexpr unsigned Cp932TrailCount = Cp932TrailLast - Cp932TrailFirst + 1;
inline constexpr unsigned Cp932LowLeadCount = 0x9F - 0x81 + 1; // 0x81..0x9F, then 0xE0..0xFC
inline constexpr unsigned Cp932LeadCount = Cp932LowLeadCount + (0xFC - 0xE0 + 1);
inline constexpr std::size_t Cp932PairCount = std::size_t{Cp932LeadCount} * Cp932TrailCount;

// The place of a pair in the table: by lead byte, then by trail byte.
constexpr std::size_t Cp932PairIndex(unsigned char lead, unsigned char trail)
{
    const unsigned leadIndex = lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + Cp932LowLeadCount;
    return std::size_t{leadIndex} * Cp932TrailCount + (trail - Cp932TrailFirst);
}

// Made at build time (cp932gen).
extern const std::array<Utf8Unit, Cp932PairCount> Cp932Pairs;

// CP932 holds characters of the Basic Multilingual Plane only.
inline constexpr std::size_t Cp932EncodedCount = 0x10000;
// The CP932 bytes of each character below U+10000: a lone byte (below 0x100) or lead * 256 + trail;
// 0 where CP932 has no form for it (and for ASCII, which is its own form). Made at build time.
extern const std::array<std::uint16_t, Cp932EncodedCount> Cp932Encodings;

} // namespace talik
