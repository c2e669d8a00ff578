#pragma once
// The database API: records read, added, rewritten and deleted by number, each call with its own
// record values, in the store's write order under the writers' lock. A writer holds both files
// (and the lock) for as long as it lives, so a batch (an import, a move, a merge) holds it once.
// Changes to the open database are published to its subscribers: at publish(), and when the
// writer goes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/recordfile.h"
#include "store/changes.h"
#include "store/record.h"
#include "store/tables.h"

namespace talik {

struct StoreState;

class RecordWriter
{
public:
    // The open database (`state.DataPath`, `state.DbNo`). The user is told why when it cannot be had.
    static std::optional<RecordWriter> hold(StoreState& state);
    // Another database of the data folder: its slots are found in its file; nothing is published.
    static std::optional<RecordWriter> hold(StoreState& state, int dbNo);

    RecordWriter(RecordWriter&& other) noexcept;
    RecordWriter& operator=(RecordWriter&& other) noexcept;
    ~RecordWriter();

    bool read(std::int32_t recNo, AddressRecord& rec, ExtraRecord& extra) const;
    // Stores a new record, with a fresh identity, in the lowest free slot; its number, or 0 when the
    // database is full (`full()` then) or a write failed (the user was told). A run that names its
    // copies in advance (a move's journal) gives the identity to use.
    std::int32_t add(const AddressRecord& rec, const ExtraRecord& extra, std::string_view identity = {});
    // Brings back a record that was deleted, its identity kept: at number `wanted` when that slot is
    // free, else where add() would put it. Its number, or 0 as for add().
    std::int32_t restore(std::int32_t wanted, const AddressRecord& rec, const ExtraRecord& extra);
    // Rewrites a record; one without an identity gets one.
    bool update(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord& extra);
    // Rewrites the address record alone (a change that touches no field of the extra record).
    bool updateAddress(std::int32_t recNo, const AddressRecord& rec);
    // The address record as the last add or update wrote it (with its identity).
    const AddressRecord& written() const { return m_written; }
    // Marks the record deleted; one already marked is left as it is.
    bool remove(std::int32_t recNo);
    // Whether the last add failed because every slot is taken.
    bool full() const { return m_full; }

    // Tells the subscribers what was done since the last publish; `origin` names the writer.
    void publish(const void* origin = nullptr);

    RecordFile& mainFile() { return m_main; }
    RecordFile& extraFile() { return m_extra; }
    const std::string& mainPath() const { return m_mainPath; }
    const std::string& extraPath() const { return m_extraPath; }

private:
    RecordWriter(StoreState& state, int dbNo, bool openDatabase);
    bool openFiles();
    std::int32_t chooseNewNumber(MainHeader& header, bool& raisesLast);
    std::int32_t findFreeSlot(std::int32_t last);
    bool slotFree(std::int32_t recNo, std::int32_t last);
    std::int32_t store(std::int32_t wanted, const AddressRecord& rec, const ExtraRecord& extra);
    bool writeBoth(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord& extra, bool isNew);
    bool writeHeaders(MainHeader& header, std::int32_t last);

    StoreState* m_state;
    bool m_openDatabase; // the database the tables show: changes are published, slots found through the tables
    std::string m_mainPath;
    std::string m_extraPath;
    RecordFile m_main;
    RecordFile m_extra;
    // No other writer runs while the files are held, so the slots below this were seen taken.
    std::int32_t m_firstFreeCandidate = FirstRecNo;
    bool m_full = false;
    AddressRecord m_written{};
    RecordChanges m_pending;
};

// One-call forms on the open database, each holding the files for that call alone. `rec` takes
// the identity it was written with.
std::int32_t AddRecord(StoreState& state, AddressRecord& rec, const ExtraRecord& extra, const void* origin = nullptr);
bool UpdateRecord(
    StoreState& state, std::int32_t recNo, AddressRecord& rec, const ExtraRecord& extra, const void* origin = nullptr);
bool DeleteRecord(StoreState& state, std::int32_t recNo, const void* origin = nullptr);
// Reads both records of `recNo` of the open database without taking the lock.
bool ReadRecord(StoreState& state, std::int32_t recNo, AddressRecord& rec, ExtraRecord& extra);

} // namespace talik
