// A sync module of some other build: same entry, other build name. The program must refuse it
// before making anything of it.
#include "listwin/appstate.h"
#include "sync/syncroom.h"

namespace {

class StrangerRoom final : public talik::SyncRoom
{
public:
    void openAccount(talik::AppState& state, QWidget*) override
    {
        state.ui.message("a room of another build was used", talik::MessageIcon::None);
    }
    bool runSync(talik::AppState&, QWidget*, bool) override { return false; }
    void usePasswordStore(talik::PasswordStore&) override {}
};

talik::SyncRoom* MakeStranger()
{
    return new StrangerRoom;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const talik::SyncRoomEntry* talik_sync_room_entry()
{
    static constexpr talik::SyncRoomEntry entry{"0.0-another-build", &MakeStranger};
    return &entry;
}
