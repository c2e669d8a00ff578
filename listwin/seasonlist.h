#pragma once
// The card season as the main list shows it: this card year's marks by record, the letters of the
// "年賀" column, the season filter that narrows the list, and the received mark toggled from the list.
// The marks are kept by identity; the list knows records by number, so one scan of the main file
// gives each listed record's identity whenever the list is rebuilt.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/season.h"

namespace talik {

struct AppState;
struct Settings;
class ListModel;

struct SeasonListState
{
    int year = 0;
    SeasonYear marks;
    std::unordered_map<std::int32_t, std::string> identities; // record number -> identity ("" for none)
    std::optional<SeasonFilter> filter;                       // none: every row of the tab
};

// The list's filters in menu order, with their captions.
struct SeasonFilterChoice
{
    SeasonFilter filter;
    const char* caption;
};
inline constexpr SeasonFilterChoice SeasonFilterChoices[] = {
    {SeasonFilter::ToSend, "今年の宛先"},      {SeasonFilter::Sent, "送った人"}, {SeasonFilter::Received, "届いた人"},
    {SeasonFilter::ReplyNeeded, "返信が必要"}, {SeasonFilter::Mourning, "喪中"},
};
inline constexpr std::string_view NoSeasonFilterCaption = "絞り込みなし";
inline constexpr std::string_view SeasonColumnLabel = "年賀";
// A listed record was deleted meanwhile (by another copy of the program).
inline constexpr std::string_view SeasonRecordGoneMessage = "選択されたデータは既に削除されています。";

// Reads the card year's marks and every live record's identity afresh. False when the main file
// could not be read (the user was told); the marks are then empty.
bool LoadSeasonList(AppState& state);
// The letters of the "年賀" column for the row with `key` ("K00002").
std::string SeasonLettersOfKey(const SeasonListState& season, std::string_view key);
// Whether the row with `key` passes the filter (always, without one).
bool SeasonKeepsKey(const SeasonListState& season, std::string_view key);
// Takes the rows the filter does not keep out of `list`; returns how many went.
std::size_t ApplySeasonFilter(const SeasonListState& season, ListModel& list);

// Narrows `list` (a search result) to the rows `filter` keeps for the card year; returns how many
// went. Nothing goes when the main file could not be read (the user was told).
std::size_t NarrowBySeason(AppState& state, ListModel& list, SeasonFilter filter);

// Toggles 受 for the records of `keys`, in one transaction: set on every one unless every one
// already has it, then cleared on every one. The marks are read afresh afterwards. False (told)
// when the records or the side store could not be written; nothing is marked then.
bool ToggleReceived(AppState& state, const std::vector<std::string>& keys);

// Turns the season view on or off and stores it in the mode's section at once. False (told) when
// the settings file could not be written; the view follows the choice anyway for this run.
bool StoreSeasonView(AppState& state, bool on);

// The prefix of the print menu's entries when no row is selected: "全件 ", or the caption of the
// card-season filter the list is narrowed by, whose people are then the ones printed.
std::string AllRecordsPrintPrefix(const AppState& state);

// The summary line of the card year: counts of sent, received, reply needed and mourning.
std::string SeasonSummaryOf(AppState& state);

} // namespace talik
