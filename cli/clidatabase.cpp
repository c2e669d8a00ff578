#include "cli/clidatabase.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "listwin/appstate.h"
#include "store/database.h"

namespace talik {
namespace {

// The window moves to the program folder when the data folder is missing and says so; a command
// line must not, or `add` would succeed in a folder the user never looks at.
bool DataFolderUsable(AppState& state)
{
    const std::string& folder = state.DataPath;
    struct stat st
    {
    };
    bool found = stat(folder.c_str(), &st) == 0;
    if (!found && errno != EACCES) {
        state.ui.message("パス名 " + folder + "が見つかりません。", MessageIcon::Exclamation);
        return false;
    }
    if (found && !S_ISDIR(st.st_mode)) {
        state.ui.message("パス名 " + folder + "はフォルダではありません。", MessageIcon::Exclamation);
        return false;
    }
    if (!found || access(folder.c_str(), X_OK) != 0) {
        state.ui.message("パス名 " + folder + "にアクセスできません。", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace

bool LoadForReading(AppState& state)
{
    return DataFolderUsable(state) && LoadTables(state, DbAccess::ReadOnly) == LoadResult::Loaded;
}

bool OpenForReading(AppState& state)
{
    return DataFolderUsable(state) && OpenDatabase(state, DbAccess::ReadOnly) == LoadResult::Loaded;
}

bool LoadForChanging(AppState& state)
{
    return DataFolderUsable(state) && LoadTables(state, DbAccess::ReadWrite) == LoadResult::Loaded;
}

} // namespace talik
