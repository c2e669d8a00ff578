#pragma once
// One prepared statement of the side store: bound, stepped through and finalised when it goes.
// Included only by the side store's own sources.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace talik {

// The SQLite codes that mean the side store's file is not a sound database.
inline bool IsSideDamage(int code)
{
    int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

class SideStatement
{
public:
    SideStatement(sqlite3* db, const std::string& sql)
    {
        m_code = sqlite3_prepare_v2(db, sql.c_str(), -1, &m_statement, nullptr);
    }
    ~SideStatement() { sqlite3_finalize(m_statement); }
    SideStatement(const SideStatement&) = delete;
    SideStatement& operator=(const SideStatement&) = delete;

    bool ok() const { return m_code == SQLITE_OK; }
    int code() const { return m_code; }
    sqlite3_stmt* get() const { return m_statement; }

    SideStatement& text(int at, const std::string& value)
    {
        sqlite3_bind_text(m_statement, at, value.c_str(), -1, SQLITE_TRANSIENT);
        return *this;
    }
    SideStatement& blob(int at, const void* bytes, int size)
    {
        sqlite3_bind_blob(m_statement, at, bytes, size, SQLITE_TRANSIENT);
        return *this;
    }
    SideStatement& number(int at, std::int64_t value)
    {
        sqlite3_bind_int64(m_statement, at, value);
        return *this;
    }

    int step() { return ok() ? sqlite3_step(m_statement) : m_code; }
    // Runs a statement that returns no rows, ready to run once more after.
    int run()
    {
        if (!ok()) {
            return m_code;
        }
        int code = sqlite3_step(m_statement);
        sqlite3_reset(m_statement);
        return code == SQLITE_DONE ? SQLITE_OK : code;
    }

    std::string columnText(int at) const
    {
        const auto* value = sqlite3_column_text(m_statement, at);
        return value != nullptr ? reinterpret_cast<const char*>(value) : "";
    }
    std::int64_t columnNumber(int at) const { return sqlite3_column_int64(m_statement, at); }
    template <typename T> void columnBlob(int at, T& into) const
    {
        std::memset(&into, 0, sizeof into);
        const void* bytes = sqlite3_column_blob(m_statement, at);
        auto size = static_cast<std::size_t>(sqlite3_column_bytes(m_statement, at));
        if (bytes != nullptr) {
            std::memcpy(&into, bytes, std::min(size, sizeof into));
        }
    }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_code = SQLITE_OK;
};

} // namespace talik
