#pragma once
// Deleting every record of the open database at once.
#include "store/record.h"

namespace talik {

struct StoreState;

inline constexpr const char* DeleteAllQuestion =
    "選択されているデータベースの全件を削除します。\n復活することはできません。削除しますか？";

// The header of a database emptied by delete-all: no record, while the password, the header
// flags and the check-item names stay with the database.
MainHeader EmptiedHeader(const MainHeader& before);

// Asks, then empties the open database's main file under the writers' lock (the extra file is
// left as it is) and empties the tables. False when the user said No or the file could not be
// emptied (the user was told); the tables are then as they were.
bool DeleteAllData(StoreState& state);

} // namespace talik
