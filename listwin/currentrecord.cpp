#include "listwin/currentrecord.h"

#include "listwin/appstate.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"

namespace talik {

bool ReadCurrent(AppState& state)
{
    if (!ReadRecord(state, state.CurRecNo, state.Rec, state.Extra)) {
        return false;
    }
    state.Joint = ReadJointNames(state, RecordIdentity(state.Rec));
    return true;
}

bool SaveCurrent(AppState& state, const void* origin)
{
    if (state.CurRecNo != 0) {
        if (!UpdateRecord(state, state.CurRecNo, state.Rec, state.Extra, origin)) {
            return false;
        }
    } else {
        std::int32_t recNo = AddRecord(state, state.Rec, state.Extra, origin);
        if (recNo == 0) {
            return false;
        }
        state.CurRecNo = recNo;
    }
    WriteJointNames(state, RecordIdentity(state.Rec), state.Joint);
    return true;
}

} // namespace talik
