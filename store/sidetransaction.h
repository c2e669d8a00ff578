#pragma once
// The side store's one way of writing: a piece of work in one immediate transaction. Included only
// by the side store's own sources, which are the ones that instantiate it.
#include <sqlite3.h>

#include "store/sidestore.h"

namespace talik {

template <class Work> bool SideStore::inTransaction(Work work)
{
    if (!execute("BEGIN IMMEDIATE")) {
        return false;
    }
    int code = work();
    if (code == SQLITE_OK) {
        code = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (code != SQLITE_OK) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return failed(code);
    }
    return true;
}

} // namespace talik
