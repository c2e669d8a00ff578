#include "print/printdispatch.h"

#include "listwin/appstate.h"
#include "listwin/listsync.h"
#include "listwin/seasonlist.h"
#include "print/printwork.h"
#include "store/database.h"

namespace talik {

ListModel AllRecordsByReading(const AppState& state)
{
    ListModel list;
    for (int group = 0; group < GroupTotal; ++group) {
        for (int row = 1; row <= state.tables.GroupCount(group); ++row) {
            AddListRow(state, list, 0, row, group);
        }
    }
    list.sortOn(0);
    return list;
}

bool PreparePrintJob(AppState& state, char kind, const ListModel& list, int first, int last)
{
    if (first < 0 || last < first || last >= static_cast<int>(list.size())) {
        state.ui.message(NoPrintData, MessageIcon::Exclamation);
        return false;
    }
    state.PrintKind = kind;
    return kind == PrintList ? WritePrintRecNos(state, list, first, last) : WritePrintWork(state, list, first, last);
}

ListModel RecordsToPrintAll(const AppState& state, char kind)
{
    ListModel all = AllRecordsByReading(state);
    if (kind != PrintList && state.settings.SeasonView != 0 && state.season.filter) {
        ApplySeasonFilter(state.season, all);
    }
    return all;
}

bool PreparePrintAll(AppState& state, char kind)
{
    BusyCursor busy(state.ui);
    ListModel chosen = RecordsToPrintAll(state, kind);
    return PreparePrintJob(state, kind, chosen, 0, static_cast<int>(chosen.size()) - 1);
}

} // namespace talik
