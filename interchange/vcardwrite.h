#pragma once
// One address as a vCard (3.0 or 4.0; UTF-8, CR LF, lines folded at 75 octets between characters).
//
// The name and its reading are split into family and given parts; the reading goes out in
// full-width katakana, as peers and phones show it. What vCard has no place for (the telephone
// slot of each number, classification code, honorific, related file, print choices) travels in
// X- properties and parameters, so an exported card reads back into the same record.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/record.h"
#include "store/season.h"
#include "store/sidestore.h"

namespace talik {

enum class VcardVersion
{
    V3,
    V4,
};

// The names of the 15 check items; a set item's name goes into CATEGORIES.
using CheckItemNameList = std::array<std::string, 15>;

// Appends one card, BEGIN to END, every line ended by CR LF.
void AppendVcard(std::string& out,
                 const AddressRecord& rec,
                 const ExtraRecord& extra,
                 const CheckItemNameList& checkNames,
                 VcardVersion version,
                 const std::vector<JointName>& joint = {},
                 const SeasonHistory& season = {});

// `line` (no line end) folded: CR LF and a blank inserted so that no line exceeds 75 octets, never
// inside a UTF-8 character; CR LF at the end.
std::string FoldVcardLine(std::string_view line);
// A text value with "\", ",", ";" and line breaks escaped.
std::string EscapeVcardText(std::string_view text);
// Half-width katakana (with their voicing marks) as full-width katakana; everything else unchanged.
std::string FullWidthKatakana(std::string_view utf8);
// Family and given part: split at the first of `separators`; without one, all is the family part.
std::pair<std::string, std::string> SplitAtFirst(std::string_view text,
                                                 std::initializer_list<std::string_view> separators);
// The addresses of an e-mail field holding several, split at ";", "," and blanks.
std::vector<std::string> SplitMailAddresses(std::string_view field);

// The names of the X- properties and parameters both directions share.
inline constexpr std::string_view VcardSlotParam = "X-TALIK-SLOT";
inline constexpr std::string_view VcardKindParam = "X-TALIK-KIND";
inline constexpr std::string_view VcardRemarksParam = "X-TALIK-REMARKS"; // NOTE: does its first line hold the remarks
inline constexpr std::string_view VcardNoNameParam = "X-TALIK-NONAME";   // FN: the record has no name
inline constexpr std::string_view VcardClassCode = "X-TALIK-CLASSCODE";
inline constexpr std::string_view VcardHonorific = "X-TALIK-HONORIFIC";
inline constexpr std::string_view VcardRelatedInfo = "X-TALIK-RELATED";
inline constexpr std::string_view VcardPrintOptions = "X-TALIK-PRINTOPTIONS";
inline constexpr std::string_view VcardSender = "X-TALIK-SENDER";
inline constexpr std::string_view VcardJoint = "X-TALIK-JOINT"; // family;given;honorific, one per joint name
// The card season: "YEAR;sent,received,mourning;note" for each year with a mark (the marks that
// are set, in that order), and "stop" for the lasting mark.
inline constexpr std::string_view VcardSeason = "X-TALIK-SEASON";
inline constexpr std::string_view VcardSeasonStop = "stop";
// The telephone slots in record order, as the slot parameter names them.
inline constexpr std::array<std::string_view, 4> VcardSlotNames = {"Tel1", "Fax1", "Tel2", "Fax2"};

} // namespace talik
