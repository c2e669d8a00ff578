#pragma once
// A run the list window must not interrupt: while it goes the window is busy (no database switch,
// no save) and not idle; afterwards both come back.
#include <utility>

#include "listwin/appstate.h"

namespace talik {

template <class Run> decltype(auto) RunBusy(AppState& state, Run&& run)
{
    struct Guard
    {
        AppState& state;
        explicit Guard(AppState& s) : state(s)
        {
            state.Busy = true;
            state.MainIdle = false;
        }
        ~Guard()
        {
            state.MainIdle = true;
            state.Busy = false;
        }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
    } guard(state);
    return std::forward<Run>(run)();
}

} // namespace talik
