// Backup and restore of database file pairs.
#include "dbadmin/backup.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

#include "dbadmin/filecopy.h"
#include "platform/paths.h"
#include "store/dbfile.h"
#include "store/dbvalidate.h"
#include "store/pairswitch.h"
#include "store/record.h"
#include "store/settings.h"
#include "store/sidecopy.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

// FAT media keep times in 2-second steps: a destination is newer only when later by more than that.
constexpr long long TimeToleranceNs = 2'000'000'000LL;

std::string WithSlash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

// A new file in the data folder takes the name the program opens; in the backup folder the
// documented one.
std::string DestinationPath(const std::string& folder, int dbNo, bool extra, bool intoDataFolder)
{
    std::string name = BackupFileName(dbNo, extra);
    if (auto existing = FindFileNoCase(folder, name)) {
        return *existing;
    }
    std::string newName = intoDataFolder ? std::string(extra ? ExtraFileName("", dbNo) : MainFileName("", dbNo)) : name;
    if (!newName.empty() && newName.front() == '/') {
        newName.erase(0, 1);
    }
    return WithSlash(folder) + newName;
}

// Refuses an unusable folder before anything starts.
bool FolderAccepted(StoreState& state, const std::string& folder)
{
    if (folder.empty()) {
        state.ui.message("フォルダーを指定してください。", MessageIcon::Exclamation);
        return false;
    }
    if (folder.front() != '/') {
        state.ui.message("フォルダー（" + folder + "）は「/」から始まる絶対パスで指定してください。",
                         MessageIcon::Exclamation);
        return false;
    }
    if (!FolderExists(folder)) {
        state.ui.message("フォルダー（" + folder + "）が見つかりません。", MessageIcon::Exclamation);
        return false;
    }
    if (SameFolder(folder, state.DataPath)) {
        state.ui.message("データパスと同じ場所の指定は無効です。", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

// The files of the data folder another copy could write, held under the writers' lock for the copy.
struct HeldPair
{
    std::optional<RecordFile> main;
    std::optional<RecordFile> extra;
};

bool Hold(StoreState& state, const std::string& path, std::size_t recLen, std::optional<RecordFile>& held)
{
    // A file nobody may write (a read-only medium) needs no lock, and one that is not there yet none either.
    if (::access(path.c_str(), F_OK) != 0 || ::access(path.c_str(), W_OK) != 0) {
        return true;
    }
    held = OpenDbFile(state, path, OpenMode::Write, recLen);
    return held.has_value();
}

class BackupRun
{
public:
    BackupRun(StoreState& state, const BackupRequest& request, BackupOutcome& outcome)
        : m_state(state), m_request(request), m_outcome(outcome),
          m_backupFolder(WithoutTrailingSlash(request.backupFolder))
    {}

    void run()
    {
        for (int dbNo = 1; dbNo <= BackupDbTotal && !m_outcome.failed; ++dbNo) {
            if (m_request.databases[dbNo - 1]) {
                copyDatabase(dbNo);
            }
        }
        if (!m_outcome.failed && m_request.settingsFile) {
            copySettingsFile();
        }
    }

private:
    const std::string& sourceFolder() const { return m_request.restore ? m_backupFolder : m_state.DataPath; }
    const std::string& destinationFolder() const { return m_request.restore ? m_state.DataPath : m_backupFolder; }

    std::string sourcePath(int dbNo, bool extra) const
    {
        return ResolveNoCase(sourceFolder(), BackupFileName(dbNo, extra));
    }

    void copyDatabase(int dbNo)
    {
        std::string fromMain = sourcePath(dbNo, false);
        std::string fromExtra = sourcePath(dbNo, true);
        for (const std::string& from : {fromMain, fromExtra}) {
            if (::access(from.c_str(), F_OK) != 0) {
                m_state.ui.message("ファイル（" + from + "）はありません。処理は続行します。",
                                   MessageIcon::Exclamation);
                return;
            }
        }
        // A switch of the source pair that a killed run left half done is finished before it is read.
        FinishPendingSwitchOf(fromMain);
        if (PairProblem problem = CheckDatabasePair(fromMain, fromExtra); !problem.path.empty()) {
            refuse(problem);
            return;
        }
        std::string toMain = DestinationPath(destinationFolder(), dbNo, false, m_request.restore);
        std::string toExtra = DestinationPath(destinationFolder(), dbNo, true, m_request.restore);
        // The data folder's pair stays under the lock from before the time check to after the copy.
        HeldPair held;
        const std::string& heldMain = m_request.restore ? toMain : fromMain;
        const std::string& heldExtra = m_request.restore ? toExtra : fromExtra;
        if (!Hold(m_state, heldMain, MainRecLen, held.main) || !Hold(m_state, heldExtra, ExtraRecLen, held.extra)) {
            stop({});
            return;
        }
        if (!overwriteAgreed(fromMain, toMain)) {
            return;
        }
        FileCopy side = sideStoreCopy(dbNo);
        std::vector<FileCopy> set{{fromMain, toMain}, {fromExtra, toExtra}};
        if (!side.destination.empty()) {
            set.push_back(side);
        }
        // The live side store is kept still while it is replaced, so that no change of it half made
        // by another program is played into the new one.
        std::optional<SideStoreHold> sideHeld;
        if (m_request.restore) {
            sideHeld.emplace(side.destination);
            if (!sideHeld->ok()) {
                stop({side.destination, EBUSY});
                return;
            }
        }
        // A restore keeps the live set it replaces beside the new one until the next restore.
        CopyFailure failure =
            CopyFilesWhole(set, m_state.writeGate, m_request.restore ? std::string(PreviousSuffix) : std::string());
        if (!failure.path.empty()) {
            stop(failure);
            return;
        }
        m_outcome.done.push_back(dbNo);
        if (m_request.restore) {
            restored(dbNo, toMain, toExtra, side);
        }
    }

    // The side store goes with its pair; a source without one takes the destination's away.
    FileCopy sideStoreCopy(int dbNo) const
    {
        const std::string name = SideStoreFileName(dbNo);
        FileCopy copy{ResolveNoCase(sourceFolder(), name), ResolveNoCase(destinationFolder(), name), true};
        if (::access(copy.source.c_str(), F_OK) != 0) {
            copy.source.clear();
            if (::access(copy.destination.c_str(), F_OK) != 0) {
                copy.destination.clear(); // nothing on either side
            }
        }
        return copy;
    }

    void restored(int dbNo, const std::string& toMain, const std::string& toExtra, const FileCopy& side)
    {
        const std::string suffix(PreviousSuffix);
        const std::string live = SideStorePath(m_state.DataPath, dbNo);
        std::string sideKept = live + suffix;
        if (side.destination.empty()) {
            ::unlink(sideKept.c_str()); // of an earlier generation: the pair kept now had none
        }
        if (::access((toMain + suffix).c_str(), F_OK) == 0) {
            std::string kept = toMain + suffix + "、" + toExtra + suffix;
            if (!side.destination.empty()) {
                kept += "、" + side.destination + suffix;
            }
            m_outcome.previousKept.push_back(kept);
        }
        // What was told of the replaced side store is no longer so.
        m_state.sideNotes.told.erase(live);
        m_state.sideNotes.checked.erase(live);
        if (dbNo == m_state.DbNo) {
            m_outcome.currentReplaced = true;
        }
    }

    bool overwriteAgreed(const std::string& from, const std::string& to)
    {
        long long toTime = ModificationTimeNs(to);
        if (toTime < 0 || toTime <= ModificationTimeNs(from) + TimeToleranceNs) {
            return true;
        }
        const std::string question = "コピー先にコピー元より新しい日付のファイルが存在します。このまま上書きしますか？";
        if (m_request.newerAnswer) {
            m_state.ui.message(question + "\n" + to + " → " + (*m_request.newerAnswer ? "はい" : "いいえ"),
                               MessageIcon::Question);
            return *m_request.newerAnswer;
        }
        return m_state.ui.askYesNo(question, MessageIcon::Question);
    }

    void copySettingsFile()
    {
        std::string name(SettingsFileName);
        std::string inProfile = ResolveNoCase(m_state.ProfileFolder, name);
        std::string inBackup = ResolveNoCase(m_backupFolder, name);
        const std::string& from = m_request.restore ? inBackup : inProfile;
        const std::string& to = m_request.restore ? inProfile : inBackup;
        if (::access(from.c_str(), F_OK) != 0) {
            m_state.ui.message("ファイル（" + from + "）はありません。処理は続行します。", MessageIcon::Exclamation);
            return;
        }
        if (!overwriteAgreed(from, to)) {
            return;
        }
        CopyFailure failure = CopyFilesWhole({{from, to}}, nullptr);
        if (!failure.path.empty()) {
            stop(failure);
            return;
        }
        m_outcome.settingsCopied = true;
    }

    // A pair that is no database ends the run before anything of it is replaced.
    void refuse(const PairProblem& problem)
    {
        stopWith("ファイル（" + problem.path + "）はデータベースとして使えないため、コピーしませんでした。\n" +
                 problem.reason + "\n");
    }

    // Ends the run: which file failed and why, and what was done before it.
    void stop(const CopyFailure& failure)
    {
        std::string text;
        if (!failure.path.empty()) {
            text = "ファイル（" + failure.path + "）をコピーできませんでした。\n" + std::strerror(failure.error) + "\n";
        }
        stopWith(text);
    }

    void stopWith(std::string text)
    {
        m_outcome.failed = true;
        text += "処理を中止しました。";
        if (!m_outcome.done.empty()) {
            text += "\n処理済みのデータベース：";
            for (std::size_t i = 0; i < m_outcome.done.size(); ++i) {
                text += (i == 0 ? "" : "、") + m_state.settings.AddrDBName[m_outcome.done[i] - 1];
            }
        }
        m_state.ui.message(text, MessageIcon::Exclamation);
    }

    StoreState& m_state;
    const BackupRequest& m_request;
    BackupOutcome& m_outcome;
    std::string m_backupFolder;
};

} // namespace

std::string BackupFileName(int dbNo, bool extra)
{
    std::string name = "MRPDAT";
    name += static_cast<char>('0' + dbNo / 10);
    name += static_cast<char>('0' + dbNo % 10);
    return name + (extra ? ".qx2" : ".qx1");
}

std::string DefaultBackupFolder(const std::string& storedSetting, const std::string& homeFolder)
{
    bool windowsValue =
        storedSetting.find('\\') != std::string::npos || (storedSetting.size() >= 2 && storedSetting[1] == ':');
    if (storedSetting.empty() || windowsValue) {
        return WithSlash(homeFolder);
    }
    return WithSlash(storedSetting);
}

bool PairExists(const std::string& folder, int dbNo)
{
    return FindFileNoCase(folder, BackupFileName(dbNo, false)) && FindFileNoCase(folder, BackupFileName(dbNo, true));
}

BackupOutcome RunBackup(StoreState& state, const BackupRequest& request)
{
    BackupOutcome outcome;
    std::string folder = WithoutTrailingSlash(request.backupFolder);
    if (!FolderAccepted(state, folder)) {
        return outcome;
    }
    state.settings.BackupPath = WithSlash(folder);
    outcome.started = true;
    {
        BusyCursor busy(state.ui);
        BackupRun(state, request, outcome).run();
    }
    if (outcome.failed) {
        return outcome;
    }
    if (!outcome.done.empty() || outcome.settingsCopied) {
        std::string text = "処理は正常に終了しました。";
        for (const std::string& kept : outcome.previousKept) {
            text += "\n置き換える前のファイルは " + kept + " として残してあります。";
        }
        state.ui.message(text, MessageIcon::Information);
    } else {
        state.ui.message("何も処理されませんでした。", MessageIcon::Information);
    }
    return outcome;
}

} // namespace talik
