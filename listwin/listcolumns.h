#pragma once
// The choice of list columns: which of the twelve list columns the lists show. It is kept in the
// shared state and in the settings file as "ListSelTable1" ... "ListSelTable12" ("0" or "1").
#include <array>
#include <string>

#include "store/tables.h"

namespace talik {

struct AppState;

using ListColumnFlags = std::array<bool, ListColumnTotal>;

// "ListSelTable1" for list column 0 ... "ListSelTable12" for list column 11.
std::string ListSelTableKey(int k);

// Writes the twelve keys into the mode's section of `settingsFile`, keeping every other line.
// False when the file could not be written.
bool WriteListColumns(const ListColumnFlags& enabled, const std::string& settingsFile, int mode);

// Takes a new choice: ColEnabled and the setting follow it at once and the settings file is
// written (a failure is told to the user). The tables keep their columns until they are next loaded
// (LoadTables numbers them).
bool StoreListColumns(AppState& state, const ListColumnFlags& enabled);

} // namespace talik
