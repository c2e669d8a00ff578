#pragma once
// Backup and restore: the file pairs of chosen databases copied between the data folder and a
// backup folder, a pair replaced only whole, a newer destination protected by a question.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

struct StoreState;

inline constexpr int BackupDbTotal = 10;
// A restore keeps the main file it replaced as "MRPDAT01.QX1.prev" (and its extra file likewise)
// until the next restore of that database.
inline constexpr std::string_view PreviousSuffix = ".prev";

// The names of database n's pair as the backup folder keeps them ("MRPDAT03.qx1").
std::string BackupFileName(int dbNo, bool extra);

// The folder the backup dialog offers: the stored setting, or the home folder when the setting is
// empty or still a Windows value (a drive letter or a "\"). Always ends in "/".
std::string DefaultBackupFolder(const std::string& storedSetting, const std::string& homeFolder);

// True when both files of database n exist in `folder` (names compared without regard to case).
bool PairExists(const std::string& folder, int dbNo);

struct BackupRequest
{
    bool restore = false;                        // false: data folder to backup folder; true: the other way
    std::string backupFolder;                    // as the user gave it
    std::array<bool, BackupDbTotal> databases{}; // ticked databases, 1..10 at 0..9
    bool settingsFile = false;                   // QXSCH.INI of the profile folder too
    // The answer to the newer-file question given in advance (talikcli): the question is then
    // shown as a message with its answer instead of being asked.
    std::optional<bool> newerAnswer;
};

struct BackupOutcome
{
    bool started = false;         // the folder was accepted and the copying began
    bool failed = false;          // a copy failed: the run stopped there
    std::vector<int> done;        // databases copied completely, in order
    bool currentReplaced = false; // a restore replaced the open database's files
    bool settingsCopied = false;
    std::vector<std::string> previousKept; // the main files a restore kept beside the new ones
};

// Checks the folder, copies every ticked database and tells the user how it went. Writes
// state.settings.BackupPath when the folder was accepted.
BackupOutcome RunBackup(StoreState& state, const BackupRequest& request);

} // namespace talik
