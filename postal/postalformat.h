#pragma once
// The layout of the postal code index file, shared by the generator that writes it and the
// programs that map it. Every number is little-endian; the file is read in place, so records are
// packed and read byte by byte rather than through structs.
//
//   header      HeaderSize bytes: the magic, then the u32 fields below
//   places      PlaceSize each, by code: u32 code, u32 town, u16 city
//   offices     OfficeSize each, by code: u32 code, u16 city, u32 street, u32 name
//   cities      CitySize each: u32 prefecture, u32 city, u32 first, u32 count (into runs)
//   hints       HintSize each, by place: u32 place, u32 hint
//   runs        RunSize each, grouped by city: u32 first place, u32 count. Codes follow the land, so
//               the places of one city lie in a few runs of the code order: the address lookup
//               reads a city's places without a second table of every place
//   pool        u16 units: a text is its UTF-16 length followed by its units; text 0 is empty
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace talik::postal {

inline constexpr std::string_view Magic = "TLKPOST1";

// Byte offsets of the header's u32 fields.
enum HeaderField : std::size_t
{
    PlaceCount = 8,
    OfficeCount = 12,
    CityCount = 16,
    HintCount = 20,
    RunCount = 56,
    PoolUnits = 24,
    PlacesOffset = 28,
    OfficesOffset = 32,
    CitiesOffset = 36,
    HintsOffset = 40,
    RunsOffset = 44,
    PoolOffset = 48,
    FileSize = 52,
};

inline constexpr std::size_t HeaderSize = 64;
inline constexpr std::size_t PlaceSize = 10;
inline constexpr std::size_t OfficeSize = 14;
inline constexpr std::size_t CitySize = 16;
inline constexpr std::size_t HintSize = 8;
inline constexpr std::size_t RunSize = 8;

// The index's file name, beside the program in a build tree and in share/talik/ when installed.
inline constexpr std::string_view IndexFileName = "postal.idx";

} // namespace talik::postal
