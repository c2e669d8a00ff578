// Reading the open database into the tables.
#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/movejournal.h"
#include "store/pairswitch.h"
#include "store/readahead.h"
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

// A database this large is read in two halves at once, the later one on a second thread; below
// it the thread would cost more than it saves.
constexpr std::int64_t ReadInHalvesFrom = 4096;

// Files stored records into tables, in file order. A group that is full takes no more rows; the
// first record each group had no room for is noted, for one message per group once the load is done.
class RecordLoader
{
public:
    explicit RecordLoader(Tables& tables) : m_tables(tables) {}

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
            leftOut(group, recNo);
            return;
        }
        // Filled column by column in a row kept for the purpose, whose text has long grown to size,
        // and packed into the tables' arena.
        m_tables.fillRow(m_scratch, rec, recNo);
        m_tables.appendRow(group, m_scratch);
    }

    void loadChunk(std::int64_t first, std::span<const AddressRecord> chunk)
    {
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            load(static_cast<std::int32_t>(first + static_cast<std::int64_t>(i)), chunk[i]);
        }
    }

    // Files what `other` loaded from the records after these.
    void appendLater(RecordLoader& other, std::int32_t from, std::int32_t last)
    {
        const auto leftOutThere = m_tables.appendLater(std::move(other.m_tables), from, last);
        for (int group = 0; group < GroupTotal; ++group) {
            for (std::int32_t recNo : {leftOutThere[group], other.m_firstLeftOut[group]}) {
                if (recNo != 0) {
                    leftOut(group, recNo);
                }
            }
        }
    }

    // The groups that were full, in the order the load met them.
    std::vector<int> fullGroups() const
    {
        std::vector<int> groups;
        for (int group = 0; group < GroupTotal; ++group) {
            if (m_firstLeftOut[group] != 0) {
                groups.push_back(group);
            }
        }
        std::sort(groups.begin(), groups.end(), [this](int a, int b) { return m_firstLeftOut[a] < m_firstLeftOut[b]; });
        return groups;
    }

private:
    void leftOut(int group, std::int32_t recNo)
    {
        if (m_firstLeftOut[group] == 0 || recNo < m_firstLeftOut[group]) {
            m_firstLeftOut[group] = recNo;
        }
    }

    Tables& m_tables;
    TableRow m_scratch;
    std::array<std::int32_t, GroupTotal> m_firstLeftOut{};
};

// The later half of a large database, read into tables of its own on a second thread.
class LaterHalf
{
public:
    LaterHalf(const RecordFile& reader, const ColumnSet& columns, std::int64_t from, std::int64_t end)
    {
        m_tables.columns = columns;
        m_thread = std::jthread([this, &reader, from, end] {
            try {
                ForEachRecordChunk<AddressRecord>(
                    reader, from, end,
                    [this](std::int64_t first, std::span<const AddressRecord> chunk) {
                        m_loader.loadChunk(first, chunk);
                    },
                    RecordPass::Copied);
            } catch (...) {
                m_failure = std::current_exception();
            }
        });
    }

    // Waits for the half to be read; rethrows what stopped it.
    RecordLoader& loaded()
    {
        m_thread.join();
        if (m_failure) {
            std::rethrow_exception(m_failure);
        }
        return m_loader;
    }

private:
    Tables m_tables;
    RecordLoader m_loader{m_tables};
    std::exception_ptr m_failure;
    std::jthread m_thread; // last: joined before the tables it fills go
};

} // namespace

LoadedRecords ReadRecords(const RecordFile& reader,
                          const ColumnSet& columns,
                          std::int32_t storedLast,
                          const std::function<void()>& betweenChunks)
{
    LoadedRecords loaded;
    Tables& tables = loaded.tables;
    tables.columns = columns;
    tables.columns.number(); // the list finds its columns by their numbers
    std::int64_t inFile = reader.recordCount();
    std::int32_t last = SaneLastRecNo(storedLast, inFile, MaxRecNo);
    // Records past the end of the file read as zeros, which are never-used slots: no need to read them.
    std::int64_t end = std::min<std::int64_t>(last, inFile);
    std::int64_t split = end + 1;
    std::optional<LaterHalf> later;
    if (end - FirstRecNo + 1 >= ReadInHalvesFrom) {
        split = FirstRecNo + (end - FirstRecNo + 1) / 2;
        later.emplace(reader, columns, split, end);
    }
    RecordLoader loader(tables);
    ForEachRecordChunk<AddressRecord>(
        reader, FirstRecNo, split - 1,
        [&](std::int64_t first, std::span<const AddressRecord> chunk) {
            loader.loadChunk(first, chunk);
            betweenChunks();
        },
        // Copied a few at a time, the file never lies in the program's memory whole, not even while
        // it loads.
        RecordPass::Copied);
    if (later) {
        loader.appendLater(later->loaded(), static_cast<std::int32_t>(split), static_cast<std::int32_t>(end));
    }
    for (std::int64_t recNo = std::max<std::int64_t>(end + 1, FirstRecNo); recNo <= last; ++recNo) {
        tables.setUsed(static_cast<std::int32_t>(recNo), '0');
    }
    tables.fitToRows();
    loaded.fullGroups = loader.fullGroups();
    return loaded;
}

namespace {

// What was read ahead of the load when it is still good, else the records read now.
std::optional<LoadedRecords> RecordsOf(StoreState& state, const std::string& mainFile, std::int32_t storedLast)
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
    std::optional<LoadedRecords> loaded = RecordsOf(state, mainFile, storedLast);
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
