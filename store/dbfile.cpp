#include "store/dbfile.h"

#include "platform/paths.h"
#include "store/messages.h"
#include "store/pairswitch.h"
#include "store/state.h"

namespace talik {
std::optional<RecordFile> OpenDbFile(StoreState& state, const std::string& path, OpenMode mode, std::size_t recLen)
{
    std::string resolved = ResolvePathNoCase(path);
    FinishPendingSwitchOf(resolved); // never a pair half old, half new
    for (int attempt = 1;; ++attempt) {
        RecordFile file;
        OpenError error = file.open(resolved, mode, recLen);
        if (error == OpenError::None) {
            file.setWriteGate(state.writeGate);
            return file;
        }
        if (error == OpenError::Access) {
            TellAccessError(state, path);
            return std::nullopt;
        }
        if (attempt == LockAttempts) {
            break;
        }
        state.ui.processEvents();
        state.clock.sleepMs(LockRetryMs);
        state.ui.processEvents();
    }
    TellLockHeld(state, path);
    return std::nullopt;
}

} // namespace talik
