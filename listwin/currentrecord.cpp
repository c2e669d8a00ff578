#include "listwin/currentrecord.h"

#include "listwin/appstate.h"
#include "store/recordwriter.h"

namespace talik {

bool ReadCurrent(AppState& state)
{
    return ReadRecord(state, state.CurRecNo, state.Rec, state.Extra);
}

bool SaveCurrent(AppState& state, const void* origin)
{
    if (state.CurRecNo != 0) {
        return UpdateRecord(state, state.CurRecNo, state.Rec, state.Extra, origin);
    }
    std::int32_t recNo = AddRecord(state, state.Rec, state.Extra, origin);
    if (recNo == 0) {
        return false;
    }
    state.CurRecNo = recNo;
    return true;
}

} // namespace talik
