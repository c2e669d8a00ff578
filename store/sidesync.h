#pragma once
// What the side store keeps of the two-way sync with a CardDAV address book: per person the card's
// UID, where it lives on the server, its ETag, a hash of the person as this database last had them
// and one of the card as the server last had it, and the server's card itself (so the properties
// this address book does not map survive an update); per database the server's sync token.
#include <map>
#include <optional>
#include <string>

#include "store/sidestore.h"

namespace talik {

// The version from which a store has the sync tables.
inline constexpr int SyncSchema = 4;

inline constexpr const char* SideSyncSchema = "CREATE TABLE IF NOT EXISTS sync_cards("
                                              " identity TEXT PRIMARY KEY, uid TEXT NOT NULL, href TEXT NOT NULL,"
                                              " etag TEXT NOT NULL, local_hash TEXT NOT NULL,"
                                              " server_hash TEXT NOT NULL, card TEXT NOT NULL);"
                                              "CREATE TABLE IF NOT EXISTS sync_meta("
                                              " key TEXT PRIMARY KEY, value TEXT NOT NULL);";

struct SyncedCard
{
    std::string uid;
    std::string href;
    std::string etag;
    std::string localHash;  // the person here as last synced
    std::string serverHash; // the card there as last synced, read as a person
    std::string card;       // the server's card as last written or read
    bool operator==(const SyncedCard&) const = default;
};

// Every person's sync state, by identity (none when the store has no such table yet).
std::map<std::string, SyncedCard> ReadSyncedCards(SideStore& store);
// Stores (or replaces) one person's state, committed before it returns; false when it could not be.
bool StoreSyncedCard(SideStore& store, const std::string& identity, const SyncedCard& card);
bool ForgetSyncedCard(SideStore& store, const std::string& identity);

// The address book the people's sync state belongs to: the one written down, or in a store from
// before it was, the one book whose sync token was kept; nullopt when neither tells.
std::optional<std::string> ReadSyncedBook(SideStore& store);
// Makes `url` the address book of the sync state. The state of another book says nothing of this
// one - its cards are not there, and taking them for deleted would delete everyone - so it goes,
// in the same transaction.
bool StartSyncedBook(SideStore& store, const std::string& url, bool forgetCards);

// The sync token of the address book at `url`; nullopt when none was kept.
std::optional<std::string> ReadSyncToken(SideStore& store, const std::string& url);
bool StoreSyncToken(SideStore& store, const std::string& url, const std::string& token);

} // namespace talik
