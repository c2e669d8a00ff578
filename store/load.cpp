// Reading the open database into the tables.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/movejournal.h"
#include "store/pairswitch.h"
#include "store/readahead.h"
#include "store/recordload.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr long long EventsEveryMs = 20; // how often a long load lets window events run

// Makes sure DataPath names a usable folder, falling back to the program's own (writable) folder.
bool EnsureDataFolder(StoreState& state)
{
    if (FolderExists(state.DataPath)) {
        return true;
    }
    std::string fallback =
        state.WritableFolder.empty() ? WritableProgramFolder(state.ProgramFolder) : state.WritableFolder;
    state.ui.message("パス名 " + state.DataPath + "が見つかりません。\nパスを" + fallback +
                         "に変更し起動します。\n起動後、設定を確認してください。",
                     MessageIcon::Exclamation);
    state.DataPath = WithoutTrailingSlash(fallback);
    return MakeFolders(state.DataPath);
}

// A read-only load has nowhere to fall back to: the fallback folder would have to be made.
bool DataFolderReadable(StoreState& state)
{
    if (FolderExists(state.DataPath)) {
        return true;
    }
    state.ui.message("パス名 " + state.DataPath + "が見つかりません。", MessageIcon::Exclamation);
    return false;
}

// Reads the main header and brings it to the current form, writing it back when it changed.
// The write happens under the writers' lock, re-reading first in case another copy just did it.
MainHeader ReadHeader(StoreState& state, const std::string& mainFile)
{
    MainHeader header{};
    {
        RecordFile reader;
        if (reader.open(mainFile, OpenMode::Read, MainRecLen) == OpenError::None) {
            reader.read(1, Bytes(header));
        }
    }
    MainHeader probe = header;
    if (BringUpHeader(probe) == HeaderState::Current) {
        return header;
    }
    auto writer = OpenDbFile(state, mainFile, OpenMode::Write, MainRecLen);
    if (!writer) {
        return probe; // a read-only database: shown as it is, nothing written
    }
    writer->read(1, Bytes(header));
    if (BringUpHeader(header) != HeaderState::Current) {
        writer->write(1, Bytes(header));
    }
    return header;
}

// Reads the main header without writing: a missing file reads as a fresh header, an older one is
// brought to the current form in memory only. nullopt when the file cannot be read (the user was told).
std::optional<MainHeader> PeekHeader(StoreState& state, const std::string& mainFile)
{
    auto reader = OpenDbFile(state, mainFile, OpenMode::Read, MainRecLen);
    if (!reader) {
        return std::nullopt;
    }
    MainHeader header{};
    if (!reader->read(1, Bytes(header))) {
        TellAccessError(state, mainFile);
        return std::nullopt;
    }
    BringUpHeader(header);
    return header;
}

std::optional<MainHeader> OpenHeader(StoreState& state, const std::string& mainFile, DbAccess access)
{
    return access == DbAccess::ReadOnly ? PeekHeader(state, mainFile) : ReadHeader(state, mainFile);
}

enum class PasswordOutcome
{
    Accepted,
    Cancelled,
};

PasswordOutcome CheckPassword(StoreState& state, const MainHeader& header)
{
    if (!HasPassword(header.PasswordField)) {
        return PasswordOutcome::Accepted;
    }
    std::string stored = DecodePassword(header.PasswordField);
    for (;;) {
        auto entered = state.ui.promptPassword(state.settings.AddrDBName[state.DbNo - 1]);
        if (!entered) {
            return PasswordOutcome::Cancelled;
        }
        if (*entered == stored) {
            return PasswordOutcome::Accepted;
        }
        state.ui.message("パスワードが正しくありません。", MessageIcon::Exclamation);
    }
}

// What was read ahead of the load when it is still good, else the records read now.
std::optional<LoadedRecords> RecordsToLoad(StoreState& state, const std::string& mainFile, std::int32_t storedLast)
{
    // Taken or not, the records read ahead are of no further use.
    if (auto ahead = std::exchange(state.readAhead, nullptr)) {
        if (auto taken = ahead->take(mainFile, storedLast, state.tables.columns)) {
            return taken;
        }
    }
    RecordFile reader;
    if (reader.open(mainFile, OpenMode::Read, MainRecLen) != OpenError::None) {
        return std::nullopt;
    }
    long long lastEvents = state.clock.monotonicMs();
    return ReadRecords(reader, state.tables.columns, storedLast, [&] {
        if (state.clock.monotonicMs() - lastEvents >= EventsEveryMs) {
            state.ui.processEvents();
            lastEvents = state.clock.monotonicMs();
        }
    });
}

void LoadRecords(StoreState& state, const std::string& mainFile, std::int32_t storedLast)
{
    std::optional<LoadedRecords> loaded = RecordsToLoad(state, mainFile, storedLast);
    if (!loaded) {
        return;
    }
    state.tables = std::move(loaded->tables);
    // One message per full group and load: the user learns which groups are full, once.
    for (int group : loaded->fullGroups) {
        TellGroupFull(state, group);
    }
}

// Whatever shows the tables reads them afresh: they were filled, or emptied by a failed open.
void ShowLoadedCounts(StoreState& state)
{
    RecordChanges reloaded;
    reloaded.reloaded = true;
    state.changes.publish(reloaded);
}

// What LoadTables and OpenDatabase share: the data folder, the header and the password; the
// records are filed into the tables only when `fileRecords` says so.
LoadResult Open(StoreState& state, bool fileRecords, DbAccess access)
{
    if (state.DbNo < 1 || state.DbNo > DbTotal) {
        state.DbNo = 1;
    }
    state.tables.columns.number();
    BusyCursor busy(state.ui);
    state.CurrentTab = -1;
    // The splash closes when it sees this; loading does not wait for it.
    state.LoadBegun = true;
    for (;;) {
        state.tables.clear();
        bool folderReady = access == DbAccess::ReadOnly ? DataFolderReadable(state) : EnsureDataFolder(state);
        if (!folderReady) {
            ShowLoadedCounts(state);
            return LoadResult::Failed;
        }
        std::string mainFile = ResolvePathNoCase(MainFileName(state.DataPath, state.DbNo));
        // A replacement of the pair that a killed run left half done is completed before reading.
        if (access == DbAccess::ReadWrite) {
            TidyFolder(state.DataPath);
        } else {
            FinishPendingSwitchOf(mainFile);
        }
        // Likewise a move to or from this database that a killed run left half done: its records
        // are filed below as they are once it is finished.
        FinishInterruptedMoves(state, state.DbNo);
        std::optional<MainHeader> header = OpenHeader(state, mainFile, access);
        if (!header) {
            ShowLoadedCounts(state);
            return LoadResult::Failed;
        }
        state.Header = *header;
        if (CheckPassword(state, state.Header) == PasswordOutcome::Cancelled) {
            // Nothing else to go back to: at start, or when the database open before is the one
            // being loaded (a reload, or the fallback itself cancelled).
            if (state.PrevDbNo < 1 || state.PrevDbNo == state.DbNo) {
                return LoadResult::EndProgram;
            }
            state.DbNo = state.PrevDbNo;
            continue;
        }
        if (fileRecords) {
            LoadRecords(state, mainFile, GetLong(state.Header.LastRecNo));
        }
        break;
    }
    state.PrevDbNo = state.DbNo;
    ShowLoadedCounts(state);
    return LoadResult::Loaded;
}

} // namespace

LoadResult LoadTables(StoreState& state, DbAccess access)
{
    if (state.TablesLoaded) {
        return LoadResult::AlreadyLoaded;
    }
    state.TablesLoaded = true;
    return Open(state, true, access);
}

LoadResult OpenDatabase(StoreState& state, DbAccess access)
{
    return Open(state, false, access);
}

} // namespace talik
