#include "listwin/listcolumns.h"

#include "platform/profile.h"
#include "store/settings.h"
#include "store/state.h"

namespace talik {

std::string ListSelTableKey(int k)
{
    return "ListSelTable" + std::to_string(k + 1);
}

bool WriteListColumns(const ListColumnFlags& enabled, const std::string& settingsFile, int mode)
{
    ProfileDocument doc = ProfileDocument::load(settingsFile);
    const std::string section = SettingsSection(mode);
    for (int k = 0; k < ListColumnTotal; ++k) {
        doc.set(section, ListSelTableKey(k), enabled[k] ? "1" : "0");
    }
    return doc.save(settingsFile);
}

bool StoreListColumns(AppState& state, const ListColumnFlags& enabled)
{
    state.tables.columns.ColEnabled = enabled;
    state.settings.ListSelTable = enabled;
    return WriteListColumns(enabled, SettingsFile(state.ProfileFolder), state.Mode);
}

} // namespace talik
