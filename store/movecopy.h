#pragma once
// Moving or copying the listed records of the open database into another database.
#include <optional>
#include <string>

#include "listwin/listmodel.h"

namespace talik {

struct AppState;

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

// Copies every listed record into free slots of the target (each write checked), brings the
// target's headers up to date, and only then, for a move, marks exactly the copied records deleted
// in the open database and takes them out of its tables and of `list`. The target's header is first
// brought to the current form as opening it does.
MoveCopyOutcome MoveCopyListed(AppState& state, ListModel& list, const MoveCopyRequest& request);

} // namespace talik
