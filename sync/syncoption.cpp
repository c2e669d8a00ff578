#include "sync/syncoption.h"

#include "platform/profile.h"
#include "store/settings.h"
#include "store/state.h"

namespace talik {

constexpr const char* SyncAtStartAndExitKey = "SyncAtStartAndExit";

std::string SyncAccountKey(const char* name, const StoreState& state)
{
    return std::string(name) + std::to_string(state.DbNo);
}

bool ReadSyncAtStartAndExit(const StoreState& state)
{
    ProfileDocument doc = ProfileDocument::load(SettingsFile(state.ProfileFolder));
    return doc.value(SettingsSection(state.Mode), SyncAtStartAndExitKey).value_or("0") == "1";
}

bool WriteSyncAtStartAndExit(const StoreState& state, bool on)
{
    return UpdateProfile(SettingsFile(state.ProfileFolder), [&](ProfileDocument& doc) {
        doc.set(SettingsSection(state.Mode), SyncAtStartAndExitKey, on ? "1" : "0");
    });
}

bool SyncsAtStartAndExit(const StoreState& state)
{
    if (!ReadSyncAtStartAndExit(state)) {
        return false;
    }
    // An account is one with a server: the same test ReadSyncAccount makes.
    ProfileDocument doc = ProfileDocument::load(SettingsFile(state.ProfileFolder));
    return !doc.value(SettingsSection(state.Mode), SyncAccountKey("SyncUrl", state)).value_or("").empty();
}

} // namespace talik
