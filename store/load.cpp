// Reading the open database into the tables.
#include <array>
#include <optional>
#include <vector>

#include "platform/paths.h"
#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/movejournal.h"
#include "store/pairswitch.h"
#include "store/recordchunks.h"
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

// Files one stored record into the tables.
class RecordLoader
{
public:
    explicit RecordLoader(StoreState& state) : m_state(state), m_tables(state.tables) {}

    void load(std::int32_t recNo, const AddressRecord& rec)
    {
        auto first = static_cast<unsigned char>(rec.KanaName[0]);
        if (IsDeletedFirstByte(first) || (first == 0 && IsNeverUsedSlot(rec))) {
            m_tables.setUsed(recNo, '0');
            return;
        }
        ++m_tables.TotalCount;
        m_tables.setUsed(recNo, '1');
        int group = KanaGroupOfBytes(std::string_view(rec.KanaName, sizeof(rec.KanaName)));
        if (m_tables.GroupCount(group) >= MaxGroupRows) {
            // One message per group and load: the user learns which group is full, once.
            if (!m_toldFull[group]) {
                m_toldFull[group] = true;
                TellGroupFull(m_state, group);
            }
            return;
        }
        // Filled column by column in a row kept for the purpose, whose text has long grown to size,
        // and filed as a copy: the copy takes one allocation of the text's own length.
        m_tables.fillRow(m_scratch, rec, recNo);
        m_tables.appendRow(group, TableRow(m_scratch));
    }

private:
    StoreState& m_state;
    Tables& m_tables;
    TableRow m_scratch;
    std::array<bool, GroupTotal> m_toldFull{};
};

void LoadRecords(StoreState& state, const std::string& mainFile, std::int32_t storedLast)
{
    RecordFile reader;
    if (reader.open(mainFile, OpenMode::Read, MainRecLen) != OpenError::None) {
        return;
    }
    std::int64_t inFile = reader.recordCount();
    std::int32_t last = SaneLastRecNo(storedLast, inFile, MaxRecNo);
    // Records past the end of the file read as zeros, which are never-used slots: no need to read them.
    std::int64_t end = std::min<std::int64_t>(last, inFile);
    RecordLoader loader(state);
    long long lastEvents = state.clock.monotonicMs();
    ForEachRecordChunk<AddressRecord>(
        reader, FirstRecNo, end,
        [&](std::int64_t first, std::span<const AddressRecord> chunk) {
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                loader.load(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)), chunk[i]);
            }
            if (state.clock.monotonicMs() - lastEvents >= EventsEveryMs) {
                state.ui.processEvents();
                lastEvents = state.clock.monotonicMs();
            }
        },
        // Copied a few at a time, the file never lies in the program's memory whole, not even while
        // it loads.
        RecordPass::Copied);
    for (std::int64_t recNo = std::max<std::int64_t>(end + 1, FirstRecNo); recNo <= last; ++recNo) {
        state.tables.setUsed(static_cast<std::int32_t>(recNo), '0');
    }
    state.tables.fitToRows();
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
