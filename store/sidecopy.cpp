#include "store/sidecopy.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "store/dbfile.h"
#include "store/sidestatement.h"

namespace talik {
namespace {

// Another program's change is waited for as the record files' lock is.
constexpr int BusyWaitMs = LockAttempts * LockRetryMs;

int ErrnoOf(int code)
{
    switch (code & 0xFF) {
    case SQLITE_FULL:
        return ENOSPC;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EBUSY;
    case SQLITE_CANTOPEN:
        return ENOENT;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return EACCES;
    default:
        return EIO;
    }
}

// The source is opened for writing where it can be, so that a change a killed program left half
// made is rolled back before the snapshot; read-only media are read as they are.
int OpenSource(const std::string& path, sqlite3** db)
{
    int code = sqlite3_open_v2(path.c_str(), db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_close(*db);
        code = sqlite3_open_v2(path.c_str(), db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(*db, BusyWaitMs);
        code = sqlite3_exec(*db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    }
    return code;
}

int CopyPages(sqlite3* source, sqlite3* target)
{
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (backup == nullptr) {
        return sqlite3_errcode(target);
    }
    int code = sqlite3_backup_step(backup, -1);
    int finished = sqlite3_backup_finish(backup);
    return code == SQLITE_DONE ? finished : code;
}

} // namespace

std::string SideStoreFileName(int dbNo)
{
    char name[32];
    std::snprintf(name, sizeof(name), "MRPDAT%02d.db", dbNo);
    return name;
}

SnapshotResult SnapshotSideStore(const std::string& from, const std::string& to)
{
    sqlite3* source = nullptr;
    int code = OpenSource(from, &source);
    if (code != SQLITE_OK) {
        sqlite3_close(source);
        if (IsSideDamage(code)) {
            return {SnapshotResult::Kind::NotADatabase, 0};
        }
        return {SnapshotResult::Kind::Failed, ErrnoOf(code)};
    }
    sqlite3* target = nullptr;
    code =
        sqlite3_open_v2(to.c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_exec(target, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    if (code == SQLITE_OK) {
        code = CopyPages(source, target);
    }
    sqlite3_close(source);
    if (sqlite3_close(target) != SQLITE_OK && code == SQLITE_OK) {
        code = SQLITE_IOERR;
    }
    if (code == SQLITE_OK) {
        return {};
    }
    ::unlink(to.c_str());
    ::unlink((to + "-journal").c_str());
    if (IsSideDamage(code)) {
        return {SnapshotResult::Kind::NotADatabase, 0};
    }
    return {SnapshotResult::Kind::Failed, ErrnoOf(code)};
}

SideStoreHold::SideStoreHold(const std::string& path)
{
    if (::access(path.c_str(), F_OK) != 0 ||
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    sqlite3_busy_timeout(m_db, BusyWaitMs);
    int code = sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        int primary = code & 0xFF;
        m_locked = primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

SideStoreHold::~SideStoreHold()
{
    if (m_db != nullptr) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
}

} // namespace talik
