#pragma once
// Duplicates of the open database, reviewed: the pairs to propose, a merge of two records into
// the one that stays (its number and identity kept, the other's side data moved over), its undo,
// and the pairs the user said are two people.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "store/duplicates.h"

namespace talik {

struct StoreState;

// The pairs of the open database scoring at least `minScore`, best first, without those the user
// said are two people; nullopt when the database could not be read (told).
std::optional<std::vector<DuplicatePair>> ProposedDuplicates(StoreState& state, int minScore = HighConfidenceScore);

enum class MergeOutcome
{
    Merged,
    Missing, // either record is not there (or both numbers are one)
    Failed,  // a file could not be written (told)
};

// Merges record `b` into record `a`: the fields named in `takeFromB` (store/fields.h names) take
// b's value, the rest keep a's, what is not kept goes into the remarks extra data; b's joint names
// join a's, and b is deleted. What it replaces is kept first, so UndoLastMerge can bring it back.
MergeOutcome MergeDuplicates(StoreState& state,
                             std::int32_t a,
                             std::int32_t b,
                             const std::set<std::string, std::less<>>& takeFromB = {});

// Undoes the last merge into record `a`: a as it was, the removed record back (at its old number
// when that is free) with its joint names. The number it came back at, 0 when there was nothing to
// undo or it failed.
std::int32_t UndoLastMerge(StoreState& state, std::int32_t a);

// Remembers that records `a` and `b` are two people; false when either is missing or it could not
// be stored.
bool MarkNotDuplicate(StoreState& state, std::int32_t a, std::int32_t b);

} // namespace talik
