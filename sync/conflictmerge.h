#pragma once
// What the conflict window shows and makes of a person changed on both sides: the fields that
// differ, and this address book's version with the fields the user took from the server's.
#include <string>
#include <vector>

#include "store/fields.h"
#include "sync/syncsummary.h"

namespace talik {

struct ConflictField
{
    const FieldInfo* field = nullptr;
    std::string ours;
    std::string theirs;
};

// The text fields whose values differ, in stored order.
std::vector<ConflictField> Differences(const SyncConflict& conflict);
// Ours, with the fields named in `takeTheirs` as the server has them.
void MergeFields(const SyncConflict& conflict,
                 const std::vector<std::string>& takeTheirs,
                 AddressRecord& rec,
                 ExtraRecord& extra);

} // namespace talik
