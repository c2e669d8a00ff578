#include "store/deleteall.h"

#include <cstring>

#include "platform/paths.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {

MainHeader EmptiedHeader(const MainHeader& before)
{
    MainHeader header = before;
    MainHeader probe = before;
    if (BringUpHeader(probe) != HeaderState::Current) {
        // An older or blank header: the current form, its own password and names carried over.
        header = probe;
        std::memcpy(header.PasswordField, before.PasswordField, sizeof(header.PasswordField));
    }
    SetLong(header.LastRecNo, 1);
    return header;
}

bool DeleteAllData(StoreState& state)
{
    if (!state.ui.askYesNo(DeleteAllQuestion, MessageIcon::Question, "確認")) {
        return false;
    }
    // Emptied in place under the lock, never removed: a copy writing at this moment waits for the
    // lock and then writes into the emptied file instead of into one that is gone.
    const std::string mainFile = ResolvePathNoCase(MainFileName(state.DataPath, state.DbNo));
    auto main = OpenDbFile(state, mainFile, OpenMode::Write, MainRecLen);
    if (!main) {
        return false;
    }
    MainHeader before{};
    if (!main->read(1, Bytes(before))) {
        TellAccessError(state, mainFile);
        return false;
    }
    MainHeader header = EmptiedHeader(before);
    // The header first: should the cut fail, the records behind it are already out of reach.
    if (!main->write(1, Bytes(header)) || !main->truncate(1)) {
        TellWriteFailed(state, mainFile);
        return false;
    }
    state.Header = header;
    // The people are gone: so is what the side store kept of them (the store itself stays).
    ClearSideStore(state, state.DbNo);
    RecordChanges cleared;
    cleared.cleared = true;
    state.changes.publish(cleared);
    return true;
}

} // namespace talik
