#pragma once
// The main list and the list window's captions follow every published change of the records.
#include <string>

#include "store/changes.h"

namespace talik {

struct AppState;
class ListModel;

// Takes deleted records out of the main list, shows changed and added ones where their group is
// shown, and brings the count captions up to date.
void ReflectInMainList(AppState& state, const RecordChanges& changes);

// The count captions of the list window after a group's count changed.
void UpdateGroupCaption(AppState& state, int group);
void UpdateCountLabel(AppState& state);
// Every caption of the list window after the tables were read or emptied.
void ShowAllCounts(AppState& state);

// Adds the item of a table row to `list`, with sub-items 1..nCols.
void AddListRow(const AppState& state, ListModel& list, int nCols, int row, int group);
// Adds the table row of `recNo`, when it has one, to `list`.
void AddRecordRow(const AppState& state, ListModel& list, int nCols, std::int32_t recNo);

// Asks, then deletes the selected item's record. False when nothing was deleted.
bool DeleteSelected(AppState& state, ListModel& list);
// Asks once, then deletes every listed record. Returns how many were deleted.
int DeleteAllListed(AppState& state, ListModel& list);

} // namespace talik
