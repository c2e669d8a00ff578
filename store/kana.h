#pragma once
// Readings are kept in half-width katakana. The first byte of a reading files the address in one of
// 45 index groups; the groups gather into nine index tabs for the list's row mode.
#include <array>
#include <string>
#include <string_view>

namespace talik {

inline constexpr int GroupTotal = 45;        // groups 0..44
inline constexpr int OtherGroup = 44;        // "ﾝ", small kana, digits, Latin, double-byte, blank
inline constexpr int RowTabTotal = 9;        // tabs 0..8 of the row mode
inline constexpr unsigned char KanaA = 0xB1; // half-width "ｱ", the first byte of group 0

// The group of a reading from the first byte of its CP932 form (`firstByte`, 0 for an empty text).
int KanaGroupOfByte(unsigned char firstByte, bool isDoubleByte);
// The group of a stored reading (raw CP932 bytes of the field, blanks and all).
int KanaGroupOfBytes(std::string_view cp932);
// The group of a reading given as text.
int KanaGroup(std::string_view utf8Reading);
// True when a stored reading's first byte marks the record deleted (code above 246, single byte).
bool IsDeletedFirstByte(unsigned char firstByte);

// The index tabs of the row mode: first and last group of each.
struct TabRange
{
    int first;
    int last;
};
using TabTable = std::array<TabRange, RowTabTotal>;
// The table as the program fills it at start-up.
TabTable MakeTabTable();

// List mode of the list window: 0 one tab per group, 1 one tab per kana row.
enum class ListMode
{
    Individual = 0,
    Row = 1,
};
// In row mode, the first tab whose last group is not below `group`; in individual mode the group.
int TabOfGroup(const TabTable& tabs, ListMode mode, int group);

// The caption of group tab `group`: あ い う ... わ 他.
std::string GroupCaption(int group);
// The caption of row tab `tab`: あ か さ た な は ま や "ら、わ".
std::string RowTabCaption(int tab);

// Each character that is double-byte in CP932 is replaced by its half-width katakana form from the
// table (hiragana and katakana, voiced ones as two characters, "ー"/"－" as "ｰ", the full-width
// space as a blank), or dropped when it has none; single-byte characters stay unchanged.
std::string ToHalfKana(std::string_view utf8);

} // namespace talik
