#pragma once
// The mode's option "起動時と終了時に同期" (key "SyncAtStartAndExit", written only once the user
// has set it, so a settings file of someone who never did stays as it was), and the settings keys
// of a database's sync account. Plain settings: the main window reads them at start without
// loading what the sync itself needs (HTTP, TLS, XML, the secret store).
#include <string>

namespace talik {

struct StoreState;

bool ReadSyncAtStartAndExit(const StoreState& state);
bool WriteSyncAtStartAndExit(const StoreState& state, bool on);
// The open database is to be synced when it opens and when the program ends: the option is on and
// the database has an account.
bool SyncsAtStartAndExit(const StoreState& state);

// The key of the account setting `name` ("SyncUrl", "SyncUser", …) of the open database.
std::string SyncAccountKey(const char* name, const StoreState& state);

} // namespace talik
