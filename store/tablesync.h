#pragma once
// The tables follow every published change of the open database's records.
#include "store/changes.h"

namespace talik {

struct StoreState;

// Files added records into their groups (a full group keeps the record in the file only, told
// once per group and change), moves changed ones between groups, drops deleted ones.
void ApplyToTables(StoreState& state, const RecordChanges& changes);

} // namespace talik
