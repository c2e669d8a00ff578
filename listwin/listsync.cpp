#include "listwin/listsync.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "listwin/appstate.h"
#include "listwin/deletequestion.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/recordwriter.h"

namespace talik {
namespace {

constexpr const char* DeleteTitle = "削除確認";

// True when the list window shows `group`: its own tab, or the row tab that holds it.
bool GroupShown(const AppState& state, int group)
{
    return state.CurrentTab >= 0 && TabOfGroup(state.Tabs, state.listMode, group) == state.CurrentTab;
}

void ShowIfGrouped(AppState& state, std::int32_t recNo)
{
    std::int32_t pos = recNo <= RecPosSize ? state.tables.RecPos[recNo] : 0;
    if (pos != 0 && GroupShown(state, pos % 100)) {
        AddListRow(state, state.MainList, state.tables.columns.nCols, pos / 100, pos % 100);
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
        // In individual mode the title counts the rows the list shows.
        state.texts.ListTitle = GroupCaption(group) + " 一覧 (" + std::to_string(state.MainList.size()) + "件)";
    }
}

void ShowAllCounts(AppState& state)
{
    state.texts.DbName = state.settings.AddrDBName[static_cast<std::size_t>(std::clamp(state.DbNo, 1, DbTotal) - 1)];
    UpdateCountLabel(state);
    for (int tab = 0; tab < RowTabTotal; ++tab) {
        state.texts.TabCountLabels[tab] = std::to_string(state.tables.TabCount(state.Tabs[tab])) + " 件";
    }
}

void ReflectInMainList(AppState& state, const RecordChanges& changes)
{
    if (changes.cleared) {
        state.MainList.clear();
    }
    if (changes.cleared || changes.reloaded) {
        ShowAllCounts(state);
        for (int group = 0; group < GroupTotal; ++group) {
            UpdateGroupCaption(state, group);
        }
        return;
    }
    // A changed record leaves its row and is listed again at the end where its group is shown;
    // all in one pass, so a batch of thousands stays linear.
    std::vector<std::string> gone;
    gone.reserve(changes.deleted.size() + changes.changed.size());
    for (std::int32_t recNo : changes.deleted) {
        gone.push_back(RecordKey(recNo));
    }
    for (const auto& change : changes.changed) {
        gone.push_back(RecordKey(change.first));
    }
    state.MainList.removeMany(gone);
    for (const auto& change : changes.changed) {
        ShowIfGrouped(state, change.first);
    }
    for (const auto& change : changes.added) {
        ShowIfGrouped(state, change.first);
    }
    UpdateCountLabel(state);
    for (int group = 0; group < GroupTotal; ++group) {
        UpdateGroupCaption(state, group);
    }
}

void AddListRow(const AppState& state, ListModel& list, int nCols, int row, int group)
{
    const RowView tableRow = state.tables.row(group, row);
    // The reading and the columns made into one text, which the list packs as it stands.
    std::array<std::size_t, ListColumnTotal + 1> ends{};
    const auto count = static_cast<std::size_t>(std::clamp(nCols + 1, 1, static_cast<int>(ends.size())));
    std::string texts;
    for (std::size_t c = 0; c < count; ++c) {
        tableRow.appendColumn(texts, static_cast<int>(c));
        ends[c] = texts.size();
    }
    std::array<std::string_view, ListColumnTotal + 1> columns;
    for (std::size_t c = 0, begin = 0; c < count; begin = ends[c++]) {
        columns[c] = std::string_view(texts).substr(begin, ends[c] - begin);
    }
    list.add(RecordKey(tableRow.recNo), std::span(columns.data(), count));
}

void AddRecordRow(const AppState& state, ListModel& list, int nCols, std::int32_t recNo)
{
    std::int32_t pos = recNo >= 1 && recNo <= RecPosSize ? state.tables.RecPos[recNo] : 0;
    if (pos != 0) {
        AddListRow(state, list, nCols, pos / 100, pos % 100);
    }
}

bool DeleteSelected(AppState& state, ListModel& list)
{
    auto selected = list.selected();
    if (!selected) {
        return false;
    }
    // Kept apart: deleting the record takes its item out of the list.
    const std::string key(list.keyAt(*selected));
    std::string question = DeleteQuestion(state, key, std::string(list.textAt(*selected)));
    if (!state.ui.askYesNo(question, MessageIcon::Exclamation, DeleteTitle)) {
        return false;
    }
    if (!DeleteRecord(state, RecNoOfKey(key), &list)) {
        return false;
    }
    list.remove(key);
    return true;
}

int DeleteAllListed(AppState& state, ListModel& list)
{
    if (list.empty() ||
        !state.ui.askYesNo("検索結果の全データを削除してもよろしいですか？", MessageIcon::Exclamation, DeleteTitle)) {
        return 0;
    }
    auto writer = RecordWriter::hold(state);
    if (!writer) {
        return 0;
    }
    std::vector<std::string> removed;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string key(list.keyAt(i));
        if (!writer->remove(RecNoOfKey(key))) {
            break;
        }
        removed.push_back(key);
    }
    writer->publish(&list);
    list.removeMany(removed);
    return static_cast<int>(removed.size());
}

AppState::AppState(Interaction& ui, Clock& clock)
    : StoreState(ui, clock), m_mainListFollow(changes, [this](const RecordChanges& c) { ReflectInMainList(*this, c); })
{}

} // namespace talik
