#pragma once
// The CardDAV account of a database, kept in the settings file beside the mode's other settings
// (keys "SyncUrl<n>", "SyncUser<n>", "SyncConflict<n>", "SyncBook<n>" for database n, and
// "SyncPin<n>" once the user has accepted a server's own certificate). The password is never kept
// there.
#include <optional>
#include <string>

#include "sync/syncoption.h"
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

// "local", "server", "skip".
std::optional<ConflictRule> ParseConflictRule(const std::string& text);
const char* ConflictRuleName(ConflictRule rule);

} // namespace talik
