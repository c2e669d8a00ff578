#pragma once
// What the conflict window shows and makes of a person changed on both sides: the fields that
// differ, and this address book's version with the fields the user took from the server's.
#include <string>
#include <string_view>
#include <vector>

#include "store/fields.h"
#include "store/settings.h"
#include "sync/syncsummary.h"

namespace talik {

struct ConflictField
{
    const FieldInfo* field = nullptr;
    std::string ours;
    std::string theirs;
};

// How the record editor names a field, for the user ("EMail" -> "E-Mail", "Address1" -> "住所１"):
// the captions of the editor's labels without their spacing, the address a code or telephone
// number belongs to in brackets.
std::string FieldCaption(const FieldCaptions& captions, std::string_view name);

// The text fields whose values differ, in stored order.
std::vector<ConflictField> Differences(const SyncConflict& conflict);
// Ours, with the fields named in `takeTheirs` as the server has them.
void MergeFields(const SyncConflict& conflict,
                 const std::vector<std::string>& takeTheirs,
                 AddressRecord& rec,
                 ExtraRecord& extra);

} // namespace talik
