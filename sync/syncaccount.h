#pragma once
// The CardDAV account of a database, kept in the settings file beside the mode's other settings
// (keys "SyncUrl<n>", "SyncUser<n>", "SyncConflict<n>", "SyncBook<n>" for database n, and
// "SyncPin<n>" once the user has accepted a server's own certificate). The password is never kept
// there.
#include <optional>
#include <string>

#include "sync/syncrun.h"

namespace talik {

struct StoreState;

struct SyncAccount
{
    std::string url;  // as the user gave it: an address book, a server, or its .well-known
    std::string book; // the address book found from it
    std::string user;
    ConflictRule conflict = ConflictRule::Skip;
    // The public key of a certificate the system does not trust that the user accepted for this
    // server ("sha256//…"); empty: the system's certificates.
    std::string pinnedKey;
};

// The pin kept for `account` when its URL becomes `url`: a key accepted for one server is no
// reason to trust another.
std::string PinForUrl(const SyncAccount& account, const std::string& url);

// The account of the open database; nullopt when none is set.
std::optional<SyncAccount> ReadSyncAccount(const StoreState& state);
bool WriteSyncAccount(const StoreState& state, const SyncAccount& account);

// The mode's option "起動時と終了時に同期" (key "SyncAtStartAndExit", written only once the user
// has set it, so a settings file of someone who never did stays as it was).
bool ReadSyncAtStartAndExit(const StoreState& state);
bool WriteSyncAtStartAndExit(const StoreState& state, bool on);
// The open database is to be synced when it opens and when the program ends: the option is on and
// the database has an account.
bool SyncsAtStartAndExit(const StoreState& state);

// "local", "server", "skip".
std::optional<ConflictRule> ParseConflictRule(const std::string& text);
const char* ConflictRuleName(ConflictRule rule);

} // namespace talik
