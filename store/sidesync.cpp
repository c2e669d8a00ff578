#include "store/sidesync.h"

#include <sqlite3.h>

#include <vector>

namespace talik {
namespace {

std::string Column(sqlite3_stmt* statement, int column)
{
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : reinterpret_cast<const char*>(text);
}

// The values of a query's first column.
std::vector<std::string> Values(SideStore& store, const char* sql)
{
    std::vector<std::string> values;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(store.handle(), sql, -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            values.push_back(Column(statement, 0));
        }
    }
    sqlite3_finalize(statement);
    return values;
}

// Runs one statement with text parameters; true when it was done.
bool Run(sqlite3* db, const char* sql, std::initializer_list<const std::string*> values)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        return false;
    }
    int at = 1;
    for (const std::string* value : values) {
        sqlite3_bind_text(statement, at++, value->c_str(), static_cast<int>(value->size()), SQLITE_TRANSIENT);
    }
    bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

} // namespace

std::map<std::string, SyncedCard> ReadSyncedCards(SideStore& store)
{
    std::map<std::string, SyncedCard> cards;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(store.handle(),
                           "SELECT identity, uid, href, etag, local_hash, server_hash, card FROM sync_cards", -1,
                           &statement, nullptr) != SQLITE_OK) {
        return cards;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        cards[Column(statement, 0)] = {Column(statement, 1), Column(statement, 2), Column(statement, 3),
                                       Column(statement, 4), Column(statement, 5), Column(statement, 6)};
    }
    sqlite3_finalize(statement);
    return cards;
}

bool StoreSyncedCard(SideStore& store, const std::string& identity, const SyncedCard& card)
{
    // Outside a transaction each statement commits on its own, with the store's full synchronous
    // writes: a run killed after this returns still finds the person linked.
    return Run(store.handle(),
               "INSERT OR REPLACE INTO sync_cards(identity, uid, href, etag, local_hash, server_hash, card)"
               " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)",
               {&identity, &card.uid, &card.href, &card.etag, &card.localHash, &card.serverHash, &card.card});
}

bool ForgetSyncedCard(SideStore& store, const std::string& identity)
{
    return Run(store.handle(), "DELETE FROM sync_cards WHERE identity = ?1", {&identity});
}

std::optional<std::string> ReadSyncedBook(SideStore& store)
{
    std::vector<std::string> book = Values(store, "SELECT value FROM sync_meta WHERE key = 'cards book'");
    if (book.empty()) {
        // A store from before the book was written down: the one book it kept a sync token of.
        book = Values(store, "SELECT substr(key, 7) FROM sync_meta WHERE key LIKE 'token %'");
    }
    return book.size() == 1 ? std::optional<std::string>(book.front()) : std::nullopt;
}

bool StartSyncedBook(SideStore& store, const std::string& url, bool forgetCards)
{
    if (!Run(store.handle(), "BEGIN IMMEDIATE", {})) {
        return false;
    }
    bool done = (!forgetCards || Run(store.handle(), "DELETE FROM sync_cards", {})) &&
                Run(store.handle(), "INSERT OR REPLACE INTO sync_meta(key, value) VALUES('cards book', ?1)", {&url});
    if (done && Run(store.handle(), "COMMIT", {})) {
        return true;
    }
    Run(store.handle(), "ROLLBACK", {});
    return false;
}

std::optional<std::string> ReadSyncToken(SideStore& store, const std::string& url)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(store.handle(), "SELECT value FROM sync_meta WHERE key = ?1", -1, &statement, nullptr) !=
        SQLITE_OK) {
        return std::nullopt;
    }
    std::string key = "token " + url;
    sqlite3_bind_text(statement, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    std::optional<std::string> token;
    if (sqlite3_step(statement) == SQLITE_ROW) {
        token = Column(statement, 0);
    }
    sqlite3_finalize(statement);
    return token;
}

bool StoreSyncToken(SideStore& store, const std::string& url, const std::string& token)
{
    std::string key = "token " + url;
    return Run(store.handle(), "INSERT OR REPLACE INTO sync_meta(key, value) VALUES(?1, ?2)", {&key, &token});
}

} // namespace talik
