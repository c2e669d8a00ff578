#pragma once
// The card season: per person and card year whether a New Year card was sent, one received, and
// whether the person is in mourning (three separate marks), a one-line note per year, and a lasting
// "no longer write" mark (出さない). Kept in the side store by identity: the fixed records are never
// touched, so older copies see nothing of it.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

struct LocalTime;
struct StoreState;

struct SeasonMarks
{
    bool sent = false;
    bool received = false;
    bool mourning = false;
    std::string note;
    bool any() const { return sent || received || mourning || !note.empty(); }
    bool operator==(const SeasonMarks&) const = default;
};

// One person's whole history: every year ever marked, and the lasting mark.
struct SeasonHistory
{
    std::map<int, SeasonMarks> years;
    bool stop = false;
    bool operator==(const SeasonHistory&) const = default;
};

// Everyone's marks of one card year.
struct SeasonYear
{
    std::map<std::string, SeasonMarks> marks; // by identity; people without a mark are left out
    std::set<std::string> stopped;
    const SeasonMarks* of(const std::string& identity) const;
};

enum class SeasonMark
{
    Sent,
    Received,
    Mourning,
    Stop, // lasting: no year
};

enum class SeasonFilter
{
    ToSend,      // 今年の宛先: not in mourning, not stopped, not yet sent
    Sent,        // 送った人
    Received,    // 届いた人
    ReplyNeeded, // 返信が必要: received, not sent
    Mourning,    // 喪中
    AnyMark,     // any mark of the year (or stopped)
};

// The coming New Year: from July on, next year; before, this year.
int DefaultCardYear(const LocalTime& now);
// The card year the settings give (a stored 0 or nothing means the default).
int CardYearOf(const StoreState& state);

bool SeasonHolds(SeasonFilter filter, const SeasonMarks* marks, bool stopped);
// The letters the list shows for one person: 送, 受, 喪 and 止, in that order, for what is marked.
std::string SeasonLetters(const SeasonMarks* marks, bool stopped);

// Counts of a year for its summary.
struct SeasonSummary
{
    int sent = 0, received = 0, replyNeeded = 0, mourning = 0;
};
SeasonSummary SummariseSeason(const SeasonYear& year);
std::string SeasonSummaryText(int year, const SeasonSummary& summary);

// --- the side store of the open database ----------------------------------------------------------

SeasonHistory ReadSeasonHistory(StoreState& state, const std::string& identity);
SeasonYear ReadSeasonYear(StoreState& state, int year);
// Sets (or with `on` false clears) one mark for every person of `identities`, in one transaction;
// a note given replaces the year's note. False (told) when the side store could not be written.
bool MarkSeason(StoreState& state,
                const std::vector<std::string>& identities,
                int year,
                SeasonMark mark,
                bool on,
                const std::optional<std::string>& note = std::nullopt);
// Replaces a person's whole history in one transaction.
bool WriteSeasonHistory(StoreState& state, const std::string& identity, const SeasonHistory& history);

} // namespace talik
