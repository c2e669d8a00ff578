// Deleting addresses: the record is marked in its file, its row leaves the tables and the list.
#include "store/database.h"
#include "store/dbfile.h"
#include "store/deletequestion.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr const char* DeleteTitle = "削除確認";

// Marks record `recNo` deleted in the open main file. A record already marked is left as it is.
bool MarkRecordDeleted(AppState& state, RecordFile& main, std::int32_t recNo)
{
    AddressRecord rec{};
    if (!main.read(recNo, Bytes(rec))) {
        return false;
    }
    if (!IsDeletedSlot(rec)) {
        MarkDeleted(rec);
        if (!main.write(recNo, Bytes(rec))) {
            return false;
        }
    }
    state.tables.setUsed(recNo, ' ');
    return true;
}

// Takes the record's row out of the tables; returns its group, or -1 when it had no row.
int DropTableRow(AppState& state, std::int32_t recNo)
{
    if (recNo < 1 || recNo > RecPosSize || state.tables.RecPos[recNo] == 0) {
        return -1;
    }
    std::int32_t pos = state.tables.RecPos[recNo];
    state.tables.fillGapWithLastRow(pos % 100, pos / 100);
    state.tables.RecPos[recNo] = 0;
    return pos % 100;
}

// Deletes the record of list item `index` from the file, the list and the tables.
bool DeleteListedItem(AppState& state, RecordFile& main, ListModel& list, std::size_t index, int& group)
{
    std::string key = list.at(index).key;
    std::int32_t recNo = RecNoOfKey(key);
    list.select(index);
    if (!MarkRecordDeleted(state, main, recNo)) {
        TellWriteFailed(state, MainFileName(state.DataPath, state.DbNo));
        return false;
    }
    list.remove(key);
    --state.tables.TotalCount;
    group = DropTableRow(state, recNo);
    return true;
}

} // namespace

bool DeleteSelected(AppState& state, ListModel& list)
{
    auto selected = list.selected();
    if (!selected) {
        return false;
    }
    std::string question = DeleteQuestion(state, list.at(*selected).key, list.at(*selected).text);
    if (!state.ui.askYesNo(question, MessageIcon::Exclamation, DeleteTitle)) {
        return false;
    }
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Write, MainRecLen);
    if (!main) {
        return false;
    }
    int group = -1;
    if (!DeleteListedItem(state, *main, list, *selected, group)) {
        return false;
    }
    UpdateCountLabel(state);
    if (group >= 0) {
        UpdateGroupCaption(state, group);
    }
    return true;
}

int DeleteAllListed(AppState& state, ListModel& list)
{
    if (list.empty() ||
        !state.ui.askYesNo("検索結果の全データを削除してもよろしいですか？", MessageIcon::Exclamation, DeleteTitle)) {
        return 0;
    }
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Write, MainRecLen);
    if (!main) {
        return 0;
    }
    int deleted = 0;
    std::array<bool, GroupTotal> touched{};
    while (!list.empty()) {
        int group = -1;
        if (!DeleteListedItem(state, *main, list, 0, group)) {
            break;
        }
        ++deleted;
        if (group >= 0) {
            touched[group] = true;
        }
    }
    UpdateCountLabel(state);
    for (int g = 0; g < GroupTotal; ++g) {
        if (touched[g]) {
            UpdateGroupCaption(state, g);
        }
    }
    return deleted;
}

} // namespace talik
