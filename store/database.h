#pragma once
// Reading the open database into the tables. Records are written through the database API
// (store/recordwriter.h).
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/recordfile.h"

namespace talik {

struct StoreState;

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
LoadResult LoadTables(StoreState& state, DbAccess access = DbAccess::ReadWrite);
// Opens the current database as LoadTables does (data folder, header brought to the current form,
// password) but files no record: for callers that scan the main file themselves. The tables stay
// empty and TablesLoaded is left alone.
LoadResult OpenDatabase(StoreState& state, DbAccess access = DbAccess::ReadWrite);

} // namespace talik
