#pragma once
// Reading the open database into the tables, and every change written straight to its files and
// then mirrored into the tables and the shown lists.
#include <cstdint>
#include <optional>
#include <string_view>

#include "listwin/listmodel.h"
#include "platform/recordfile.h"

namespace talik {

struct AppState;

enum class LoadResult
{
    Loaded,
    AlreadyLoaded, // TablesLoaded was set: nothing done
    EndProgram,    // the password prompt of the first database was cancelled
    Failed,        // neither the data folder nor the fallback could be used
};

// How a load may touch the files. ReadWrite falls back to the program folder when the data folder
// is missing and writes a new or older header in the current form. ReadOnly creates and changes
// nothing: a missing database reads as empty, a missing data folder or a main file that cannot be
// read fails (the user was told).
enum class DbAccess
{
    ReadWrite,
    ReadOnly,
};

// Reads the current database into the tables (only while TablesLoaded is false).
LoadResult LoadTables(AppState& state, DbAccess access = DbAccess::ReadWrite);
// Opens the current database as LoadTables does (data folder, header brought to the current form,
// password) but files no record: for callers that scan the main file themselves. The tables stay
// empty and TablesLoaded is left alone.
LoadResult OpenDatabase(AppState& state, DbAccess access = DbAccess::ReadWrite);

// Fills both record buffers from record CurRecNo of both files.
bool ReadCurrent(AppState& state);
// Writes both record buffers at CurRecNo; a new record (CurRecNo 0) gets its number here.
bool SaveCurrent(AppState& state);

// Both database files opened for writing and held, with their lock, across many adds (an import):
// other copies meet the lock and retry as they do against a single save.
struct HeldDatabase
{
    RecordFile main;
    RecordFile extra;
    // No other writer runs while the files are held, so the slots below this were seen taken.
    std::int32_t firstFreeCandidate = 0;
};
// Opens both files as SaveCurrent does (the user is told why when it cannot); nullopt then.
std::optional<HeldDatabase> HoldDatabase(AppState& state);
// SaveCurrent on held files: the same writes in the same order.
bool SaveCurrent(AppState& state, HeldDatabase& held);

// Brings the tables, counts and shown rows up to date after a save. `caller` is the name of the
// window the save came from ("TALIKSRC" for the search result).
void ReflectSaved(AppState& state, ListModel& list, std::string_view caller);
// Writes column 0 and every enabled list column of a table row from the record buffer.
void FillRowFromBuffer(AppState& state, int row, int group);
// Adds the item of a table row to `list`, with sub-items 1..nCols.
void AddListRow(const AppState& state, ListModel& list, int nCols, int row, int group);

// Asks, marks the selected item's record deleted and removes its row. False when nothing was deleted.
bool DeleteSelected(AppState& state, ListModel& list);
// Asks once, then deletes every listed record. Returns how many were deleted.
int DeleteAllListed(AppState& state, ListModel& list);

// The count captions of the list window after a group's count changed.
void UpdateGroupCaption(AppState& state, int group);
void UpdateCountLabel(AppState& state);

} // namespace talik
