#pragma once
// How talikcli opens the database: only in the data folder the user named, and a command that
// only reads never creates a file.
namespace talik {

struct AppState;

// The database read into the tables, for a command that only reads. A missing database reads as
// empty; nothing is created or converted.
bool LoadForReading(AppState& state);
// The database opened (password and all) without filing records, for a command that scans the
// main file itself; creates nothing.
bool OpenForReading(AppState& state);
// The database read into the tables before a change; a missing one is created.
bool LoadForChanging(AppState& state);

} // namespace talik
