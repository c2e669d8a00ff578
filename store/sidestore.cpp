#include "store/sidestore.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"
#include "store/dbfile.h"
#include "store/identity.h"
#include "store/liverecords.h"
#include "store/messages.h"
#include "store/sidepairs.h"
#include "store/sidestatement.h"
#include "store/sidesync.h"
#include "store/sidetransaction.h"
#include "store/state.h"

namespace talik {
namespace {

// 1: joint names; 2: the duplicate reviews' tables or the card season's, as two builds made them;
// 3: both; 4: the CardDAV sync state. Every step only adds tables, so the whole schema is created
// with IF NOT EXISTS whatever version a store is brought forward from.
constexpr int SchemaVersion = SyncSchema;
// The first version whose tables a reader can use; later tables it finds missing read as empty.
constexpr int FirstReadableVersion = 1;

constexpr const char* Schema = "CREATE TABLE IF NOT EXISTS joint_names("
                               " identity TEXT NOT NULL, position INTEGER NOT NULL,"
                               " family TEXT NOT NULL, given TEXT NOT NULL, honorific TEXT NOT NULL,"
                               " PRIMARY KEY(identity, position));"
                               "CREATE TABLE IF NOT EXISTS season("
                               " identity TEXT NOT NULL, year INTEGER NOT NULL,"
                               " sent INTEGER NOT NULL DEFAULT 0, received INTEGER NOT NULL DEFAULT 0,"
                               " mourning INTEGER NOT NULL DEFAULT 0, note TEXT NOT NULL DEFAULT '',"
                               " PRIMARY KEY(identity, year));"
                               "CREATE TABLE IF NOT EXISTS season_stop(identity TEXT PRIMARY KEY);";

// Another program holding the store is waited for as the record files are: every 100 ms, events
// running meanwhile, up to the usual number of attempts.
int WaitForLock(void* context, int attempt)
{
    auto* state = static_cast<StoreState*>(context);
    if (attempt + 1 >= LockAttempts) {
        return 0;
    }
    state->ui.processEvents();
    state->clock.sleepMs(LockRetryMs);
    return 1;
}

bool IsLock(int code)
{
    int primary = code & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void TellOnce(StoreState& state, const std::string& path, SideHealth health)
{
    if (!state.sideNotes.told.insert(path).second) {
        return;
    }
    if (health == SideHealth::Locked) {
        TellLockHeld(state, path);
        return;
    }
    state.ui.message("連名などの追加データのファイル（" + path +
                         "）が壊れているため読めません。住所録はこのまま使えますが、追加データは表示も保存もしません。",
                     MessageIcon::Exclamation);
}

int Scalar(sqlite3* db, const char* sql, std::string* text = nullptr)
{
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            if (text != nullptr) {
                const auto* value = sqlite3_column_text(statement, 0);
                *text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
            }
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return code;
}

// Opens the file and brings its schema forward; the health it was found in.
SideHealth
OpenDatabase(StoreState& state, const std::string& path, bool write, bool check, sqlite3** db, int* schema = nullptr)
{
    int flags = write ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    int code = sqlite3_open_v2(path.c_str(), db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_busy_handler(*db, WaitForLock, &state);
        std::string result;
        code = Scalar(*db, check ? "PRAGMA quick_check" : "PRAGMA schema_version", &result);
        if (code == SQLITE_OK && check && result != "ok") {
            code = SQLITE_CORRUPT;
        }
    }
    if (code == SQLITE_OK && write) {
        code = sqlite3_exec(*db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        std::string version;
        if (code == SQLITE_OK) {
            code = Scalar(*db, "PRAGMA user_version", &version);
        }
        if (code == SQLITE_OK && std::atoi(version.c_str()) < SchemaVersion) {
            std::string migrate = std::string("BEGIN IMMEDIATE;") + Schema + SidePairsSchema + SideSyncSchema +
                                  "PRAGMA user_version = " + std::to_string(SchemaVersion) + ";COMMIT;";
            code = sqlite3_exec(*db, migrate.c_str(), nullptr, nullptr, nullptr);
            if (code != SQLITE_OK) {
                sqlite3_exec(*db, "ROLLBACK", nullptr, nullptr, nullptr);
            }
        }
    }
    std::string version;
    if (code == SQLITE_OK) {
        code = Scalar(*db, "PRAGMA user_version", &version);
    }
    if (code == SQLITE_OK && !write && std::atoi(version.c_str()) < FirstReadableVersion) {
        // A store never brought to any schema holds nothing this program reads.
        sqlite3_close(*db);
        *db = nullptr;
        return SideHealth::Absent;
    }
    if (code == SQLITE_OK) {
        if (schema != nullptr) {
            *schema = std::atoi(version.c_str());
        }
        return SideHealth::Good;
    }
    sqlite3_close(*db);
    *db = nullptr;
    return IsLock(code) ? SideHealth::Locked : SideHealth::Damaged;
}

bool SideFileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

std::string SideStorePath(const std::string& dataPath, int dbNo)
{
    char name[32];
    std::snprintf(name, sizeof(name), "/MRPDAT%02d.db", dbNo);
    return ResolvePathNoCase(dataPath + name);
}

std::string DamagedSideStorePath(const std::string& dataPath, int dbNo)
{
    return SideStorePath(dataPath, dbNo) + ".damaged";
}

std::optional<SideStore> SideStore::open(StoreState& state, int dbNo, Access access)
{
    const std::string path = SideStorePath(state.DataPath, dbNo);
    const bool exists = SideFileExists(path);
    if (access == Access::Read && !exists) {
        return std::nullopt;
    }
    // A store the user was told is damaged stays untouched until it is rebuilt.
    if (state.sideNotes.told.contains(path) && exists) {
        return std::nullopt;
    }
    const bool check = exists && state.sideNotes.checked.insert(path).second;
    sqlite3* db = nullptr;
    int schema = 0;
    SideHealth health = OpenDatabase(state, path, access == Access::Write, check, &db, &schema);
    if (health == SideHealth::Absent) {
        return std::nullopt;
    }
    if (health != SideHealth::Good) {
        if (health == SideHealth::Damaged) {
            state.sideNotes.checked.erase(path);
        }
        TellOnce(state, path, health);
        return std::nullopt;
    }
    return SideStore(state, db, path, schema);
}

SideHealth SideStore::probe(StoreState& state, int dbNo)
{
    const std::string path = SideStorePath(state.DataPath, dbNo);
    if (!SideFileExists(path)) {
        return SideHealth::Absent;
    }
    sqlite3* db = nullptr;
    SideHealth health = OpenDatabase(state, path, false, true, &db);
    sqlite3_close(db);
    return health;
}

SideStore::SideStore(SideStore&& other) noexcept
    : m_state(other.m_state), m_db(other.m_db), m_path(std::move(other.m_path)), m_schema(other.m_schema)
{
    other.m_db = nullptr;
}

SideStore& SideStore::operator=(SideStore&& other) noexcept
{
    if (this != &other) {
        sqlite3_close(m_db);
        m_state = other.m_state;
        m_db = other.m_db;
        m_path = std::move(other.m_path);
        m_schema = other.m_schema;
        other.m_db = nullptr;
    }
    return *this;
}

SideStore::~SideStore()
{
    sqlite3_close(m_db);
}

// A failure met on the way: damage is told once and ends every later use of the store this run.
bool SideStore::failed(int code)
{
    if (IsSideDamage(code) || IsLock(code)) {
        TellOnce(*m_state, m_path, IsLock(code) ? SideHealth::Locked : SideHealth::Damaged);
    } else {
        TellFileNotWritten(m_state->ui, "追加データ", m_path);
    }
    return false;
}

bool SideStore::execute(const char* sql)
{
    int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    return code == SQLITE_OK || failed(code);
}

std::set<std::string> SideStore::identitiesWithJointName(const std::string& family, const std::string& given)
{
    std::set<std::string> found;
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(
        m_db, "SELECT DISTINCT identity FROM joint_names WHERE instr(family, ?1) > 0 AND instr(given, ?2) > 0", -1,
        &statement, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, family.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, given.c_str(), -1, SQLITE_TRANSIENT);
        while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
            found.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE) {
        failed(code);
        found.clear();
    }
    return found;
}

std::vector<JointName> SideStore::jointNames(const std::string& identity)
{
    std::vector<JointName> names;
    if (identity.empty()) {
        return names;
    }
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(
        m_db, "SELECT family, given, honorific FROM joint_names WHERE identity = ?1 ORDER BY position", -1, &statement,
        nullptr);
    if (code == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, identity.c_str(), -1, SQLITE_TRANSIENT);
        auto column = [&](int i) {
            return std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
        };
        while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
            names.push_back({column(0), column(1), column(2)});
        }
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE) {
        failed(code);
        names.clear();
    }
    return names;
}

bool SideStore::setJointNames(const std::string& identity, const std::vector<JointName>& names)
{
    if (identity.empty()) {
        return false;
    }
    return inTransaction([&] {
        sqlite3_stmt* remove = nullptr;
        sqlite3_stmt* insert = nullptr;
        int code = sqlite3_prepare_v2(m_db, "DELETE FROM joint_names WHERE identity = ?1", -1, &remove, nullptr);
        if (code == SQLITE_OK) {
            sqlite3_bind_text(remove, 1, identity.c_str(), -1, SQLITE_TRANSIENT);
            code = sqlite3_step(remove) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
        }
        if (code == SQLITE_OK) {
            code = sqlite3_prepare_v2(m_db,
                                      "INSERT INTO joint_names(identity, position, family, given, honorific)"
                                      " VALUES(?1, ?2, ?3, ?4, ?5)",
                                      -1, &insert, nullptr);
        }
        for (std::size_t i = 0; code == SQLITE_OK && i < names.size() && i < MaxJointNames; ++i) {
            sqlite3_reset(insert);
            sqlite3_bind_text(insert, 1, identity.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 2, static_cast<int>(i));
            sqlite3_bind_text(insert, 3, names[i].family.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, names[i].given.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 5, names[i].honorific.c_str(), -1, SQLITE_TRANSIENT);
            code = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
        }
        sqlite3_finalize(remove);
        sqlite3_finalize(insert);
        return code;
    });
}

bool SideStore::clear()
{
    std::string sql = "BEGIN IMMEDIATE;";
    for (const std::string& table : personTables()) {
        sql += "DELETE FROM " + table + ";";
    }
    if (sqlite3_exec(m_db, (sql + "COMMIT;").c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
        return true;
    }
    int code = sqlite3_errcode(m_db);
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return failed(code);
}

std::set<std::string> SideStore::identities()
{
    std::set<std::string> found;
    sqlite3_stmt* statement = nullptr;
    const char* sql = m_schema >= SeasonSchema ? "SELECT identity FROM joint_names UNION SELECT identity FROM season"
                                                 " UNION SELECT identity FROM season_stop"
                                               : "SELECT DISTINCT identity FROM joint_names";
    int code = sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
    while (code == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        found.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    return found;
}

std::vector<std::string> SideStore::personTables() const
{
    std::vector<std::string> tables{"joint_names"};
    if (m_schema >= SeasonSchema) {
        tables.insert(tables.end(), {"season", "season_stop"});
    }
    return tables;
}

int SideStore::removeOrphans(const std::set<std::string>& live)
{
    std::vector<std::string> orphans;
    for (const std::string& identity : identities()) {
        if (!live.contains(identity)) {
            orphans.push_back(identity);
        }
    }
    if (!execute("BEGIN IMMEDIATE")) {
        return 0;
    }
    int code = SQLITE_OK;
    for (const std::string& table : personTables()) {
        sqlite3_stmt* remove = nullptr;
        code =
            sqlite3_prepare_v2(m_db, ("DELETE FROM " + table + " WHERE identity = ?1").c_str(), -1, &remove, nullptr);
        for (std::size_t i = 0; code == SQLITE_OK && i < orphans.size(); ++i) {
            sqlite3_reset(remove);
            sqlite3_bind_text(remove, 1, orphans[i].c_str(), -1, SQLITE_TRANSIENT);
            code = sqlite3_step(remove) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
        }
        sqlite3_finalize(remove);
        if (code != SQLITE_OK) {
            break;
        }
    }
    if (code == SQLITE_OK) {
        code = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (code != SQLITE_OK) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        failed(code);
        return 0;
    }
    return static_cast<int>(orphans.size());
}

bool RebuildSideStore(StoreState& state, int dbNo)
{
    const std::string path = SideStorePath(state.DataPath, dbNo);
    std::error_code error;
    if (SideFileExists(path)) {
        std::filesystem::rename(path, DamagedSideStorePath(state.DataPath, dbNo), error);
        if (error) {
            TellFileNotWritten(state.ui, "追加データ", path);
            return false;
        }
        std::filesystem::remove(path + "-journal", error);
    }
    state.sideNotes.told.erase(path);
    state.sideNotes.checked.erase(path);
    return SideStore::open(state, dbNo, SideStore::Access::Write).has_value();
}

void ClearSideStore(StoreState& state, int dbNo)
{
    if (SideFileExists(SideStorePath(state.DataPath, dbNo))) {
        if (auto store = SideStore::open(state, dbNo, SideStore::Access::Write)) {
            store->clear();
        }
    }
}

std::set<std::string> LiveIdentities(StoreState& state)
{
    std::set<std::string> live;
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Read, MainRecLen);
    if (!main) {
        return live;
    }
    ScanLiveRecords(state, {&*main, MainFileName(state.DataPath, state.DbNo)}, {},
                    [&](std::int32_t, const AddressRecord& rec, const ExtraRecord*) {
                        if (std::string identity = RecordIdentity(rec); !identity.empty()) {
                            live.insert(identity);
                        }
                    });
    return live;
}

std::optional<int> CleanSideStore(StoreState& state)
{
    if (!SideFileExists(SideStorePath(state.DataPath, state.DbNo))) {
        return 0;
    }
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    if (!store) {
        return std::nullopt;
    }
    return store->removeOrphans(LiveIdentities(state));
}

std::vector<JointName> ReadJointNames(StoreState& state, const std::string& identity)
{
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Read);
    return store ? store->jointNames(identity) : std::vector<JointName>{};
}

std::set<std::string> PeopleWithJointNames(StoreState& state, const std::vector<JointName>& wanted)
{
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Read);
    std::set<std::string> people;
    for (std::size_t i = 0; store && i < wanted.size(); ++i) {
        std::set<std::string> found = store->identitiesWithJointName(wanted[i].family, wanted[i].given);
        if (i > 0) {
            std::erase_if(found, [&people](const std::string& identity) { return !people.contains(identity); });
        }
        people = std::move(found);
    }
    return people;
}

bool WriteJointNames(StoreState& state, const std::string& identity, const std::vector<JointName>& names)
{
    // No side store and nothing to put in one: nothing is created.
    if (names.empty() && !SideFileExists(SideStorePath(state.DataPath, state.DbNo))) {
        return true;
    }
    auto store = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    return store && store->setJointNames(identity, names);
}

} // namespace talik
