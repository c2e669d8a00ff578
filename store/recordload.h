#pragma once
// Reading a database's records into tables, as the load files them.
#include <cstdint>
#include <functional>
#include <vector>

#include "store/tables.h"

namespace talik {

class RecordFile;

// The tables a database's records fill, and the groups found full, in the order the file filled them.
struct LoadedRecords
{
    Tables tables;
    std::vector<int> fullGroups;
};

// Reads the records of `reader` up to the stored last record number into fresh tables of `columns`,
// as one pass in file order would file them. `betweenChunks` runs after each chunk read.
LoadedRecords ReadRecords(const RecordFile& reader,
                          const ColumnSet& columns,
                          std::int32_t storedLast,
                          const std::function<void()>& betweenChunks);

} // namespace talik
