#include "print/seasonprint.h"

#include "listwin/appstate.h"
#include "store/identity.h"
#include "store/personids.h"
#include "store/recordwriter.h"
#include "store/season.h"

namespace talik {

std::vector<std::int32_t> ToSendRecords(AppState& state, const std::vector<std::int32_t>& recNos, int year)
{
    const SeasonYear marks = ReadSeasonYear(state, year);
    std::vector<std::int32_t> chosen;
    AddressRecord rec{};
    ExtraRecord extra{};
    for (std::int32_t recNo : recNos) {
        if (!ReadRecord(state, recNo, rec, extra)) {
            continue;
        }
        const std::string identity = RecordIdentity(rec);
        if (SeasonHolds(SeasonFilter::ToSend, marks.of(identity), marks.stopped.contains(identity))) {
            chosen.push_back(recNo);
        }
    }
    return chosen;
}

std::string MarkSentQuestion(std::size_t count, int year)
{
    return "印刷した " + std::to_string(count) + " 件を " + std::to_string(year) + " 年の「送」にしますか？";
}

bool MarkRecordsSent(AppState& state, const std::vector<std::int32_t>& recNos, int year)
{
    std::optional<PersonIds> ids = IdentitiesOfRecords(state, recNos);
    if (!ids) {
        return false;
    }
    if (ids->missing != 0) {
        // Deleted while the job printed: marking the others alone would hide that one.
        state.ui.message("レコード " + std::to_string(ids->missing) +
                             " は登録されていないため、「送」にできませんでした。",
                         MessageIcon::Exclamation);
        return false;
    }
    return MarkSeason(state, ids->identities, year, SeasonMark::Sent, true);
}

} // namespace talik
