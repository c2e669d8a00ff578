#include "dbadmin/backupchoice.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/interaction.h"
#include "platform/paths.h"
#include "store/settings.h"
#include "store/state.h"

namespace talik {

std::string_view NothingChosenMessage(bool restore)
{
    return restore ? "復元するデータベースを選択してください。" : "バックアップするデータベースを選択してください。";
}

bool SettingsFileCopyable(const StoreState& state, const std::string& backupFolder, bool restore)
{
    const std::string& folder = restore ? backupFolder : state.ProfileFolder;
    if (folder.empty() || !FolderExists(folder)) {
        return false;
    }
    const std::string path = ResolveNoCase(folder, std::string(SettingsFileName));
    return ::access(path.c_str(), R_OK) == 0;
}

bool OfferToCreateBackupFolder(StoreState& state, const std::string& folder)
{
    if (folder.empty() || folder.front() != '/' || FolderExists(folder)) {
        return true;
    }
    if (!state.ui.askYesNo("フォルダー（" + folder + "）が見つかりません。\r\n作成しますか？", MessageIcon::Question,
                           "確認")) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !FolderExists(folder)) {
        state.ui.message("フォルダー（" + folder + "）を作成できませんでした。", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace talik
