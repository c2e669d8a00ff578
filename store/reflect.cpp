// Mirroring a saved record into the tables, the counts and the shown lists.
#include "store/database.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr std::string_view SearchWindow = "TALIKSRC";
constexpr int SearchListColumns = 2; // the search result shows table columns 1 and 2 only

int SavedGroup(const AppState& state)
{
    return KanaGroupOfBytes(std::string_view(state.Rec.KanaName, sizeof(state.Rec.KanaName)));
}

// True when the list window shows `group`: its own tab, or the row tab that holds it.
bool GroupShown(const AppState& state, int group)
{
    return state.CurrentTab >= 0 && TabOfGroup(state.Tabs, state.listMode, group) == state.CurrentTab;
}

int ListColumnsFor(const AppState& state, std::string_view caller)
{
    int nCols = state.tables.columns.nCols;
    return caller == SearchWindow ? std::min(nCols, SearchListColumns) : nCols;
}

// Adds the saved record as a new row at the end of `group`, and to the lists that should show it.
void AddSavedRow(AppState& state, ListModel& list, std::string_view caller, int group)
{
    TableRow row;
    state.tables.fillRow(row, state.Rec, state.CurRecNo);
    if (!state.tables.appendRow(group, std::move(row))) {
        TellGroupFull(state, group);
        return;
    }
    int rowNo = state.tables.GroupCount(group);
    if (GroupShown(state, group)) {
        AddListRow(state, state.MainList, state.tables.columns.nCols, rowNo, group);
    }
    if (caller == SearchWindow) {
        AddListRow(state, list, SearchListColumns, rowNo, group);
    }
}

} // namespace

void UpdateCountLabel(AppState& state)
{
    state.texts.CountLabel = "登録数：" + std::to_string(state.tables.TotalCount) + " 件";
}

void UpdateGroupCaption(AppState& state, int group)
{
    if (state.listMode == ListMode::Row) {
        int tab = TabOfGroup(state.Tabs, state.listMode, group);
        state.texts.TabCountLabels[tab] = std::to_string(state.tables.TabCount(state.Tabs[tab])) + " 件";
    } else if (state.CurrentTab == group) {
        state.texts.ListTitle =
            GroupCaption(group) + " 一覧 (" + std::to_string(state.tables.GroupCount(group)) + "件)";
    }
}

void FillRowFromBuffer(AppState& state, int row, int group)
{
    auto& rows = state.tables.AddrTable[group];
    if (row < 1 || row > static_cast<int>(rows.size())) {
        return;
    }
    state.tables.fillRow(rows[row - 1], state.Rec, rows[row - 1].recNo);
}

void AddListRow(const AppState& state, ListModel& list, int nCols, int row, int group)
{
    const TableRow& tableRow = state.tables.row(group, row);
    ListItem item{RecordKey(tableRow.recNo), std::string(tableRow.column(0)), {}};
    item.subItems.reserve(static_cast<std::size_t>(nCols));
    for (int c = 1; c <= nCols; ++c) {
        item.subItems.emplace_back(tableRow.column(c));
    }
    list.add(std::move(item));
}

void ReflectSaved(AppState& state, ListModel& list, std::string_view caller)
{
    int group = SavedGroup(state);
    bool brandNew = true;
    if (state.EditStatus == 'R') {
        list.remove(RecordKey(state.CurRecNo));
        std::int32_t pos = state.tables.RecPos[state.CurRecNo];
        // A record left out of a full group has no row yet; it is counted already all the same.
        brandNew = false;
        if (pos != 0) {
            int row = pos / 100;
            int oldGroup = pos % 100;
            if (oldGroup == group) {
                FillRowFromBuffer(state, row, group);
                AddListRow(state, list, ListColumnsFor(state, caller), row, group);
                return;
            }
            state.tables.fillGapWithLastRow(oldGroup, row);
            state.tables.RecPos[state.CurRecNo] = 0;
            UpdateGroupCaption(state, oldGroup);
        }
    }
    if (brandNew) {
        ++state.tables.TotalCount;
        UpdateCountLabel(state);
    }
    AddSavedRow(state, list, caller, group);
    UpdateGroupCaption(state, group);
}

} // namespace talik
