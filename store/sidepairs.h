#pragma once
// What the side store keeps of duplicate reviews: the pairs the user said are two people, and
// what each merge replaced, so that it can be undone. Both by record identity, as all side data.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "store/record.h"
#include "store/sidestore.h"

namespace talik {

// The tables, created when the side store is opened for writing.
inline constexpr const char* SidePairsSchema =
    "CREATE TABLE IF NOT EXISTS not_duplicates("
    " first TEXT NOT NULL, second TEXT NOT NULL, PRIMARY KEY(first, second));"
    "CREATE TABLE IF NOT EXISTS merge_undo("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, survivor TEXT NOT NULL,"
    " survivor_main BLOB NOT NULL, survivor_extra BLOB NOT NULL, survivor_joint TEXT NOT NULL,"
    " removed_number INTEGER NOT NULL, removed_main BLOB NOT NULL, removed_extra BLOB NOT NULL,"
    " removed_joint TEXT NOT NULL,"
    " survivor_season TEXT NOT NULL DEFAULT '', removed_season TEXT NOT NULL DEFAULT '');";

// A pair of identities, the smaller first.
using IdentityPair = std::pair<std::string, std::string>;
IdentityPair OrderedPair(const std::string& a, const std::string& b);

// What a merge replaced: both records as they were, with their joint names.
struct MergeUndo
{
    std::int64_t id = 0;
    std::string survivor; // the identity of the record that stayed
    AddressRecord survivorMain{};
    ExtraRecord survivorExtra{};
    std::vector<JointName> survivorJoint;
    std::int32_t removedNumber = 0;
    AddressRecord removedMain{};
    ExtraRecord removedExtra{};
    std::vector<JointName> removedJoint;
    SeasonHistory survivorSeason;
    SeasonHistory removedSeason;
};

// Remembers that two people are not one; true when stored.
bool RememberNotDuplicate(SideStore& store, const IdentityPair& pair);
// Every pair remembered (none when the store has no such table yet).
std::set<IdentityPair> NotDuplicates(SideStore& store);

// Keeps what a merge is about to replace; its id, or 0 when it could not be stored.
std::int64_t SaveMergeUndo(SideStore& store, const MergeUndo& undo);
// The last merge into `survivor`, if any.
std::optional<MergeUndo> LastMergeInto(SideStore& store, const std::string& survivor);
bool ForgetMergeUndo(SideStore& store, std::int64_t id);

} // namespace talik
