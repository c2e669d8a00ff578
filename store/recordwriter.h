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
#include <vector>

#include "platform/recordfile.h"
#include "store/changes.h"
#include "store/identity.h"
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

    // From now on the new records that go past the last one are held back, up to `records` of them,
    // and written together: each file in one write, the header once. Until they are written they
    // are in no file; read() finds them all the same. Every other call writes them first.
    void holdBackAdds(std::size_t records);
    // Room for about `records` new records in what is published: a long run of adds (an import)
    // does not move the ones noted so far again and again.
    void expectAdds(std::size_t records);
    // Whether as many records are held back as holdBackAdds() allows.
    bool holdingFull() const { return m_holdLimit != 0 && static_cast<std::size_t>(m_heldCount) >= m_holdLimit; }
    // Writes the held-back records. 0 when every one is in the database; else the number of the
    // first that is not (it and those after it were not stored, and the user was told why): when
    // the writes together fail, the records are written one by one as single adds are, so as many
    // get in as the disk takes.
    std::int32_t writeHeldBack();
    // The first held-back record that could not be written, kept once it happened; 0 while none.
    std::int32_t firstUnstored() const { return m_firstUnstored; }

    // Tells the subscribers what was done since the last publish; `origin` names the writer.
    void publish(const void* origin = nullptr);

    // The files themselves, for what the writer does not do; the records held back are written first.
    RecordFile& mainFile()
    {
        writeHeldBack();
        return m_main;
    }
    RecordFile& extraFile()
    {
        writeHeldBack();
        return m_extra;
    }
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
    bool writeHeaders(MainHeader& header, std::int32_t last, bool tell = true);
    std::int32_t holdBack(const AddressRecord& rec, const ExtraRecord& extra);
    bool writeHeldTogether(std::int32_t first, std::int32_t count);
    std::int32_t writeHeldOneByOne(std::int32_t first, std::int32_t count);
    void forgetUnstored(std::int32_t from, std::int32_t end);

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
    // The identities of this writer's new records: seeded at its first add.
    std::optional<IdentitySource> m_identities;
    // New records held back (holdBackAdds): numbers m_heldFirst.. in order, their bytes end to end.
    std::size_t m_holdLimit = 0; // 0: each add is written at once
    std::int32_t m_heldFirst = 0;
    std::int32_t m_heldCount = 0;
    std::vector<unsigned char> m_heldMain;
    std::vector<unsigned char> m_heldExtra;
    MainHeader m_heldHeader{}; // the main header as the first held-back record found it
    std::int32_t m_firstUnstored = 0;
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
