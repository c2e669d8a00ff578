// The entry of the sync module the program loads: the only symbol the module exports.
#include "sync/syncroom.h"
#include "sync/syncroomwindows.h"
#include "talikbuild.h"

namespace {

talik::SyncRoom* MakeLoadedSyncRoom()
{
    return talik::MakeSyncRoom().release();
}

} // namespace

extern "C" __attribute__((visibility("default"))) const talik::SyncRoomEntry* talik_sync_room_entry()
{
    static constexpr talik::SyncRoomEntry entry{talik::TalikBuild, &MakeLoadedSyncRoom};
    return &entry;
}
