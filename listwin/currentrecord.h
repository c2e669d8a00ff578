#pragma once
// The editor's record buffers and the database: the record CurRecNo read into them, and what they
// hold written back through the database API.
namespace talik {

struct AppState;

// Fills both record buffers from record CurRecNo of both files, and the joint names from the side store.
bool ReadCurrent(AppState& state);
// Writes both record buffers at CurRecNo; a new record (CurRecNo 0) gets its number here. The
// change is published as every write is: the tables and the windows follow from there. The joint
// names follow the record into the side store; trouble there is told but fails no save.
bool SaveCurrent(AppState& state, const void* origin = nullptr);

} // namespace talik
