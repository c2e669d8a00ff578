#include "listwin/seasonlist.h"

#include <algorithm>
#include <unordered_set>

#include "listwin/appstate.h"
#include "platform/profile.h"
#include "store/dbfile.h"
#include "store/identity.h"
#include "store/liverecords.h"
#include "store/personids.h"
#include "store/record.h"
#include "store/settings.h"

namespace talik {
namespace {

const std::string* IdentityOfKey(const SeasonListState& season, std::string_view key)
{
    auto found = season.identities.find(RecNoOfKey(key));
    return found != season.identities.end() && !found->second.empty() ? &found->second : nullptr;
}

bool ReadIdentities(AppState& state, std::unordered_map<std::int32_t, std::string>& identities)
{
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Read, MainRecLen);
    if (!main) {
        return false;
    }
    return ScanLiveRecords(state, {&*main, path}, {},
                           [&identities](std::int32_t recNo, const AddressRecord& rec, const ExtraRecord*) {
                               identities[recNo] = RecordIdentity(rec);
                           });
}

// Everyone's state for one record: marks and the lasting stop.
bool Holds(const SeasonListState& season, SeasonFilter filter, const std::string* identity)
{
    if (identity == nullptr) {
        return SeasonHolds(filter, nullptr, false);
    }
    return SeasonHolds(filter, season.marks.of(*identity), season.marks.stopped.contains(*identity));
}

bool LoadSeason(AppState& state, SeasonListState& season)
{
    season.year = CardYearOf(state);
    season.identities.clear();
    season.marks = {};
    if (!ReadIdentities(state, season.identities)) {
        season.identities.clear();
        return false;
    }
    season.marks = ReadSeasonYear(state, season.year);
    return true;
}

} // namespace

bool LoadSeasonList(AppState& state)
{
    return LoadSeason(state, state.season);
}

std::string SeasonLettersOfKey(const SeasonListState& season, std::string_view key)
{
    const std::string* identity = IdentityOfKey(season, key);
    if (identity == nullptr) {
        return {};
    }
    return SeasonLetters(season.marks.of(*identity), season.marks.stopped.contains(*identity));
}

bool SeasonKeepsKey(const SeasonListState& season, std::string_view key)
{
    return !season.filter || Holds(season, *season.filter, IdentityOfKey(season, key));
}

std::size_t ApplySeasonFilter(const SeasonListState& season, ListModel& list)
{
    if (!season.filter) {
        return 0;
    }
    std::vector<std::string> dropped;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!SeasonKeepsKey(season, list.keyAt(i))) {
            dropped.emplace_back(list.keyAt(i));
        }
    }
    return list.removeMany(dropped);
}

std::size_t NarrowBySeason(AppState& state, ListModel& list, SeasonFilter filter)
{
    SeasonListState season;
    if (!LoadSeason(state, season)) {
        return 0;
    }
    season.filter = filter;
    return ApplySeasonFilter(season, list);
}

bool ToggleReceived(AppState& state, const std::vector<std::string>& keys)
{
    if (keys.empty()) {
        return false;
    }
    SeasonListState& season = state.season;
    const bool allReceived = std::all_of(keys.begin(), keys.end(), [&season](const std::string& key) {
        return Holds(season, SeasonFilter::Received, IdentityOfKey(season, key));
    });
    std::vector<std::int32_t> recNos;
    for (const std::string& key : keys) {
        recNos.push_back(RecNoOfKey(key));
    }
    // A record an older copy wrote has no identity yet: it is given one here, under the write lock.
    std::optional<PersonIds> ids = IdentitiesOfRecords(state, recNos);
    if (!ids || ids->missing != 0) {
        if (ids) {
            state.ui.message(std::string(SeasonRecordGoneMessage), MessageIcon::Exclamation);
        }
        return false;
    }
    if (!MarkSeason(state, ids->identities, season.year, SeasonMark::Received, !allReceived)) {
        return false;
    }
    for (std::size_t i = 0; i < recNos.size(); ++i) {
        season.identities[recNos[i]] = ids->identities[i];
    }
    season.marks = ReadSeasonYear(state, season.year);
    return true;
}

bool StoreSeasonView(AppState& state, bool on)
{
    state.settings.SeasonView = on ? 1 : 0;
    const std::string file = SettingsFile(state.ProfileFolder);
    const std::string section = SettingsSection(state.Mode);
    if (!UpdateProfile(file, [&](ProfileDocument& doc) { doc.set(section, "SeasonView", on ? "1" : "0"); })) {
        TellSettingsNotWritten(state.ui, file);
        return false;
    }
    return true;
}

std::string AllRecordsPrintPrefix(const AppState& state)
{
    if (state.settings.SeasonView != 0 && state.season.filter) {
        for (const SeasonFilterChoice& choice : SeasonFilterChoices) {
            if (choice.filter == *state.season.filter) {
                return std::string(choice.caption) + " ";
            }
        }
    }
    return "全件 ";
}

std::string SeasonSummaryOf(AppState& state)
{
    const int year = CardYearOf(state);
    SeasonYear marks = ReadSeasonYear(state, year);
    // A deleted person's marks stay in the side store for an undo or restore, but are no longer
    // anyone the household writes to: only the live records count.
    std::unordered_map<std::int32_t, std::string> identities;
    if (ReadIdentities(state, identities)) {
        std::unordered_set<std::string> live;
        for (const auto& [recNo, identity] : identities) {
            live.insert(identity);
        }
        std::erase_if(marks.marks, [&live](const auto& entry) { return !live.contains(entry.first); });
    }
    return SeasonSummaryText(year, SummariseSeason(marks));
}

} // namespace talik
