#include "store/season.h"

#include "platform/clock.h"
#include "store/settings.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {

namespace {

// Years a person could have sent or received a card in; anything else in the settings is a slip.
constexpr int FirstCardYear = 1900;
constexpr int LastCardYear = 2200;

} // namespace

const SeasonMarks* SeasonYear::of(const std::string& identity) const
{
    auto it = marks.find(identity);
    return it != marks.end() ? &it->second : nullptr;
}

int DefaultCardYear(const LocalTime& now)
{
    return now.month >= 7 ? now.year + 1 : now.year;
}

int CardYearOf(const StoreState& state)
{
    int stored = state.settings.CardYear;
    return stored >= FirstCardYear && stored <= LastCardYear ? stored : DefaultCardYear(state.clock.now());
}

bool SeasonHolds(SeasonFilter filter, const SeasonMarks* marks, bool stopped)
{
    const SeasonMarks none;
    const SeasonMarks& m = marks != nullptr ? *marks : none;
    switch (filter) {
    case SeasonFilter::ToSend:
        return !m.mourning && !stopped && !m.sent;
    case SeasonFilter::Sent:
        return m.sent;
    case SeasonFilter::Received:
        return m.received;
    case SeasonFilter::ReplyNeeded:
        return m.received && !m.sent;
    case SeasonFilter::Mourning:
        return m.mourning;
    case SeasonFilter::AnyMark:
        return m.any() || stopped;
    }
    return false;
}

std::string SeasonLetters(const SeasonMarks* marks, bool stopped)
{
    std::string letters;
    if (marks != nullptr) {
        letters += marks->sent ? "送" : "";
        letters += marks->received ? "受" : "";
        letters += marks->mourning ? "喪" : "";
    }
    return stopped ? letters + "止" : letters;
}

SeasonSummary SummariseSeason(const SeasonYear& year)
{
    SeasonSummary summary;
    for (const auto& [identity, marks] : year.marks) {
        summary.sent += marks.sent;
        summary.received += marks.received;
        summary.replyNeeded += marks.received && !marks.sent;
        summary.mourning += marks.mourning;
    }
    return summary;
}

std::string SeasonSummaryText(int year, const SeasonSummary& s)
{
    return std::to_string(year) + " 年　送：" + std::to_string(s.sent) + " 件　受：" + std::to_string(s.received) +
           " 件　返信が必要：" + std::to_string(s.replyNeeded) + " 件　喪中：" + std::to_string(s.mourning) + " 件";
}

SeasonHistory ReadSeasonHistory(StoreState& state, const std::string& identity)
{
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Read);
    return store ? store->seasonHistory(identity) : SeasonHistory{};
}

SeasonYear ReadSeasonYear(StoreState& state, int year)
{
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Read);
    return store ? store->seasonYear(year) : SeasonYear{};
}

bool MarkSeason(StoreState& state,
                const std::vector<std::string>& identities,
                int year,
                SeasonMark mark,
                bool on,
                const std::optional<std::string>& note)
{
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    return store && store->markSeason(identities, year, mark, on, note);
}

bool WriteSeasonHistory(StoreState& state, const std::string& identity, const SeasonHistory& history)
{
    if (history == SeasonHistory{} && ReadSeasonHistory(state, identity) == SeasonHistory{}) {
        return true; // nothing to store, and nothing to create a side store for
    }
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    return store && store->setSeasonHistory(identity, history);
}

} // namespace talik
