#pragma once
// Moving or copying records of the open database into another database.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace talik {

struct StoreState;

struct MoveCopyRequest
{
    int targetDbNo = 0;
    bool move = false; // false: copy
    // The target's password when it has one, given in advance (talikcli); else it is asked for.
    std::optional<std::string> targetPassword;
};

struct MoveCopyOutcome
{
    int done = 0;         // records placed in the target (and, for a move, taken out of the source)
    int skipped = 0;      // listed records another copy had deleted since they were listed
    bool stopped = false; // the run ended before the end of the list (the user was told)
};

// Copies every record of `records` into free slots of the target (each write checked, the target's
// headers kept up to date as it grows), and only then, for a move, marks exactly the copied records
// deleted in the open database (published as one change). The target's header is first brought to
// the current form as opening it does.
MoveCopyOutcome
MoveCopyRecords(StoreState& state, const std::vector<std::int32_t>& records, const MoveCopyRequest& request);

} // namespace talik
