#include "listwin/listcolumns.h"

#include "listwin/appstate.h"
#include "platform/profile.h"
#include "store/settings.h"

namespace talik {

std::string ListSelTableKey(int k)
{
    return "ListSelTable" + std::to_string(k + 1);
}

bool WriteListColumns(const ListColumnFlags& enabled, const std::string& settingsFile, int mode)
{
    const std::string section = SettingsSection(mode);
    return UpdateProfile(settingsFile, [&](ProfileDocument& doc) {
        for (int k = 0; k < ListColumnTotal; ++k) {
            doc.set(section, ListSelTableKey(k), enabled[k] ? "1" : "0");
        }
    });
}

bool StoreListColumns(AppState& state, const ListColumnFlags& enabled)
{
    state.tables.columns.ColEnabled = enabled;
    state.settings.ListSelTable = enabled;
    const std::string file = SettingsFile(state.ProfileFolder);
    if (!WriteListColumns(enabled, file, state.Mode)) {
        TellSettingsNotWritten(state.ui, file);
        return false;
    }
    return true;
}

} // namespace talik
