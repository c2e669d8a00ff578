#pragma once
// What the backup dialog checks before a run: that something is ticked, that a backup folder that
// is not there yet may be made, and whether the settings file can be copied at all.
#include <string>
#include <string_view>

namespace talik {

struct StoreState;

// The message when 開始 finds nothing ticked (the dialog stays open).
std::string_view NothingChosenMessage(bool restore);

// True when the settings file is there to be copied: in the profile folder for a backup, in the
// backup folder for a restore.
bool SettingsFileCopyable(const StoreState& state, const std::string& backupFolder, bool restore);

// A backup into an absolute folder that does not exist yet: asks whether to make it and makes it
// (with its parents). True when the folder is there now; false when the user said no or it could not
// be made (the user told). Other folders are left to the run's own checks.
bool OfferToCreateBackupFolder(StoreState& state, const std::string& folder);

} // namespace talik
