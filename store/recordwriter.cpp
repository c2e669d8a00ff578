#include "store/recordwriter.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "store/dbfile.h"
#include "store/identity.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

// Puts a new address down so that a write cut short leaves a deleted slot, never half a person:
// the record goes first with the deleted mark in its first byte, and its own first byte follows.
bool WriteNewAddress(RecordFile& main, std::int32_t recNo, const AddressRecord& rec)
{
    AddressRecord marked = rec;
    marked.KanaName[0] = static_cast<char>(DeletedMark);
    return main.write(recNo, Bytes(marked)) && main.writePart(recNo, 0, Bytes(rec).first(1));
}

bool ValidRecNo(std::int32_t recNo)
{
    return recNo >= FirstRecNo && recNo <= MaxRecNo;
}

// Marks record `recNo` deleted in `main`; one already marked is left as it is. Told when it fails.
bool MarkDeletedIn(StoreState& state, RecordFile& main, const std::string& path, std::int32_t recNo)
{
    AddressRecord rec{};
    if (!ValidRecNo(recNo) || !main.read(recNo, Bytes(rec))) {
        TellWriteFailed(state, path);
        return false;
    }
    if (!IsDeletedSlot(rec)) {
        MarkDeleted(rec);
        if (!main.write(recNo, Bytes(rec))) {
            TellWriteFailed(state, path);
            return false;
        }
    }
    return true;
}

} // namespace

RecordWriter::RecordWriter(StoreState& state, int dbNo, bool openDatabase)
    : m_state(&state), m_openDatabase(openDatabase), m_mainPath(MainFileName(state.DataPath, dbNo)),
      m_extraPath(ExtraFileName(state.DataPath, dbNo))
{}

RecordWriter::RecordWriter(RecordWriter&& other) noexcept
    : m_state(other.m_state), m_openDatabase(other.m_openDatabase), m_mainPath(std::move(other.m_mainPath)),
      m_extraPath(std::move(other.m_extraPath)), m_main(std::move(other.m_main)), m_extra(std::move(other.m_extra)),
      m_firstFreeCandidate(other.m_firstFreeCandidate), m_full(other.m_full), m_written(other.m_written),
      m_pending(std::move(other.m_pending)), m_identities(std::move(other.m_identities)),
      m_holdLimit(other.m_holdLimit), m_heldFirst(other.m_heldFirst), m_heldCount(std::exchange(other.m_heldCount, 0)),
      m_heldMain(std::move(other.m_heldMain)), m_heldExtra(std::move(other.m_heldExtra)),
      m_heldHeader(other.m_heldHeader), m_firstUnstored(other.m_firstUnstored)
{
    other.m_pending = {};
}

RecordWriter& RecordWriter::operator=(RecordWriter&& other) noexcept
{
    if (this != &other) {
        publish();
        m_state = other.m_state;
        m_openDatabase = other.m_openDatabase;
        m_mainPath = std::move(other.m_mainPath);
        m_extraPath = std::move(other.m_extraPath);
        m_main = std::move(other.m_main);
        m_extra = std::move(other.m_extra);
        m_firstFreeCandidate = other.m_firstFreeCandidate;
        m_full = other.m_full;
        m_written = other.m_written;
        m_pending = std::move(other.m_pending);
        m_identities = std::move(other.m_identities);
        m_holdLimit = other.m_holdLimit;
        m_heldFirst = other.m_heldFirst;
        m_heldCount = std::exchange(other.m_heldCount, 0);
        m_heldMain = std::move(other.m_heldMain);
        m_heldExtra = std::move(other.m_heldExtra);
        m_heldHeader = other.m_heldHeader;
        m_firstUnstored = other.m_firstUnstored;
        other.m_pending = {};
    }
    return *this;
}

RecordWriter::~RecordWriter()
{
    publish();
}

std::optional<RecordWriter> RecordWriter::hold(StoreState& state)
{
    RecordWriter writer(state, state.DbNo, true);
    if (!writer.openFiles()) {
        return std::nullopt;
    }
    return writer;
}

std::optional<RecordWriter> RecordWriter::hold(StoreState& state, int dbNo)
{
    RecordWriter writer(state, dbNo, dbNo == state.DbNo);
    if (!writer.openFiles()) {
        return std::nullopt;
    }
    return writer;
}

bool RecordWriter::openFiles()
{
    auto main = OpenDbFile(*m_state, m_mainPath, OpenMode::Write, MainRecLen);
    if (!main) {
        return false;
    }
    auto extra = OpenDbFile(*m_state, m_extraPath, OpenMode::Write, ExtraRecLen);
    if (!extra) {
        return false;
    }
    m_main = std::move(*main);
    m_extra = std::move(*extra);
    return true;
}

void RecordWriter::publish(const void* origin)
{
    // Only what is in the files is told: records that could not be written are taken back first.
    writeHeldBack();
    if (!m_openDatabase || m_pending.empty()) {
        return;
    }
    RecordChanges changes = std::move(m_pending);
    m_pending = {};
    changes.origin = origin;
    m_state->changes.publish(changes);
}

bool RecordWriter::read(std::int32_t recNo, AddressRecord& rec, ExtraRecord& extra) const
{
    if (m_heldCount != 0 && recNo >= m_heldFirst && recNo < m_heldFirst + m_heldCount) {
        const auto at = static_cast<std::size_t>(recNo - m_heldFirst);
        std::memcpy(&rec, m_heldMain.data() + at * sizeof(AddressRecord), sizeof(AddressRecord));
        std::memcpy(&extra, m_heldExtra.data() + at * sizeof(ExtraRecord), sizeof(ExtraRecord));
        return true;
    }
    return ValidRecNo(recNo) && m_main.read(recNo, Bytes(rec)) && m_extra.read(recNo, Bytes(extra));
}

// A slot inside the used range that a new record may take: one deleted, or one never written.
std::int32_t RecordWriter::findFreeSlot(std::int32_t last)
{
    AddressRecord scratch{};
    for (std::int32_t i = std::max(m_firstFreeCandidate, FirstRecNo); i <= last; ++i) {
        if (m_openDatabase && m_state->tables.usedFlag(i) == '1') {
            continue;
        }
        m_main.read(i, Bytes(scratch));
        if (IsDeletedSlot(scratch) || IsNeverUsedSlot(scratch)) {
            return i;
        }
    }
    return 0;
}

std::int32_t RecordWriter::chooseNewNumber(MainHeader& header, bool& raisesLast)
{
    m_main.read(1, Bytes(header));
    MainHeader probe = header;
    if (BringUpHeader(probe) == HeaderState::Fresh) {
        header = probe; // the file was emptied since the load
    }
    std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), m_main.recordCount(), MaxRecNo);
    raisesLast = false;
    if (std::int32_t slot = findFreeSlot(last)) {
        return slot;
    }
    // Whatever lies past the last record is left over from an add that never finished: the new
    // record takes the next number and overwrites it whole.
    raisesLast = true;
    return last < MaxRecNo ? last + 1 : 0;
}

// Writes both records at `recNo`; the user is told of a failure. The extra record goes first, so
// that a live address always has its own extra record behind it.
bool RecordWriter::writeBoth(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord& extra, bool isNew)
{
    if (!m_extra.write(recNo, Bytes(extra))) {
        TellWriteFailed(*m_state, m_extraPath);
        return false;
    }
    bool written = isNew ? WriteNewAddress(m_main, recNo, rec) : m_main.write(recNo, Bytes(rec));
    if (!written) {
        TellWriteFailed(*m_state, m_mainPath);
        return false;
    }
    return true;
}

bool RecordWriter::writeHeaders(MainHeader& header, std::int32_t last, bool tell)
{
    SetLong(header.LastRecNo, last);
    ExtraHeader extraHeader{};
    m_extra.read(1, Bytes(extraHeader));
    if (AllZero(Bytes(extraHeader))) {
        // A new extra file: its text fields start blank like every other text field.
        std::memset(&extraHeader, ' ', sizeof(extraHeader));
    }
    SetLong(extraHeader.LastRecNo, last);
    // The main header goes last: it is what makes the new record part of the database. The copy in
    // the extra header is never read, so one ahead of it does no harm.
    if (!m_extra.write(1, Bytes(extraHeader))) {
        if (tell) {
            TellWriteFailed(*m_state, m_extraPath);
        }
        return false;
    }
    MainHeader before{};
    m_main.read(1, Bytes(before));
    if (!m_main.write(1, Bytes(header))) {
        // Part of the header may be down already, the new number with it: put the old one back so
        // that the add told as failed does not show up at the next load.
        m_main.write(1, Bytes(before));
        if (tell) {
            TellWriteFailed(*m_state, m_mainPath);
        }
        return false;
    }
    if (m_openDatabase) {
        m_state->Header = header;
        m_state->ExtraHdr = extraHeader;
    }
    return true;
}

std::int32_t RecordWriter::add(const AddressRecord& rec, const ExtraRecord& extra, std::string_view identity)
{
    // A new record is a new person here, whatever identity the values came with (a copy from
    // another database, a slot used before).
    AddressRecord fresh = rec;
    if (identity.empty() && !m_identities) {
        m_identities.emplace();
    }
    SetIdentity(fresh, identity.empty() ? m_identities->next() : std::string(identity));
    return store(0, fresh, extra);
}

std::int32_t RecordWriter::restore(std::int32_t wanted, const AddressRecord& rec, const ExtraRecord& extra)
{
    return store(wanted, rec, extra);
}

void RecordWriter::holdBackAdds(std::size_t records)
{
    m_holdLimit = records;
}

void RecordWriter::expectAdds(std::size_t records)
{
    m_pending.added.reserve(m_pending.added.size() + std::min<std::size_t>(records, MaxRecNo));
}

// Takes a new record into the held-back ones when it goes past the last record; its number, or 0
// when it belongs elsewhere (a free slot inside, or none left) and is to be written at once.
std::int32_t RecordWriter::holdBack(const AddressRecord& rec, const ExtraRecord& extra)
{
    std::int32_t recNo = m_heldFirst + m_heldCount;
    if (m_heldCount == 0) {
        bool raisesLast = false;
        recNo = chooseNewNumber(m_heldHeader, raisesLast);
        if (!raisesLast || recNo == 0) {
            return 0;
        }
        m_heldFirst = recNo;
    } else if (recNo > MaxRecNo) {
        return 0;
    }
    const auto main = Bytes(rec);
    const auto extraBytes = Bytes(extra);
    m_heldMain.insert(m_heldMain.end(), main.begin(), main.end());
    m_heldExtra.insert(m_heldExtra.end(), extraBytes.begin(), extraBytes.end());
    ++m_heldCount;
    m_firstFreeCandidate = recNo + 1;
    if (m_openDatabase) {
        m_state->tables.setUsed(recNo, '1');
    }
    m_written = rec;
    m_pending.added.emplace_back(recNo, rec);
    return recNo;
}

std::int32_t RecordWriter::writeHeldBack()
{
    if (m_heldCount == 0) {
        return 0;
    }
    const std::int32_t first = m_heldFirst;
    const std::int32_t count = std::exchange(m_heldCount, 0);
    std::int32_t lost = writeHeldTogether(first, count) ? 0 : writeHeldOneByOne(first, count);
    m_heldMain.clear();
    m_heldExtra.clear();
    if (lost != 0) {
        forgetUnstored(lost, first + count);
        m_firstUnstored = m_firstUnstored == 0 ? lost : m_firstUnstored;
    }
    return lost;
}

// The held-back records as one add each would put them, a file at a time: the extra records, then
// the addresses with the deleted mark in their first byte, then their first bytes (the whole run
// again: a write cut short leaves each record marked or whole), then the headers, the main one last.
// Until that last write they lie past the last record, where an add that never finished leaves its
// bytes. Nothing is told: a failure is tried again one by one.
bool RecordWriter::writeHeldTogether(std::int32_t first, std::int32_t count)
{
    std::vector<unsigned char> marked = m_heldMain;
    for (std::size_t at = 0; at < marked.size(); at += sizeof(AddressRecord)) {
        marked[at] = static_cast<unsigned char>(DeletedMark);
    }
    MainHeader header = m_heldHeader;
    return m_extra.writeMany(first, m_heldExtra) && m_main.writeMany(first, marked) &&
           m_main.writeMany(first, m_heldMain) && writeHeaders(header, first + count - 1, false);
}

// Each held-back record written as a single add writes it; the number of the first that failed
// (the user told), or 0.
std::int32_t RecordWriter::writeHeldOneByOne(std::int32_t first, std::int32_t count)
{
    MainHeader header = m_heldHeader;
    for (std::int32_t i = 0; i < count; ++i) {
        AddressRecord rec{};
        ExtraRecord extra{};
        const auto at = static_cast<std::size_t>(i);
        std::memcpy(&rec, m_heldMain.data() + at * sizeof(AddressRecord), sizeof(AddressRecord));
        std::memcpy(&extra, m_heldExtra.data() + at * sizeof(ExtraRecord), sizeof(ExtraRecord));
        if (!writeBoth(first + i, rec, extra, true) || !writeHeaders(header, first + i)) {
            return first + i;
        }
    }
    return 0;
}

// Takes back what the writer had noted of the records `from`..`end` - 1, which are in no file.
void RecordWriter::forgetUnstored(std::int32_t from, std::int32_t end)
{
    for (std::int32_t recNo = from; recNo < end && m_openDatabase; ++recNo) {
        m_state->tables.setUsed(recNo, ' ');
    }
    std::erase_if(m_pending.added, [from](const auto& added) { return added.first >= from; });
    m_firstFreeCandidate = std::min(m_firstFreeCandidate, from);
}

bool RecordWriter::slotFree(std::int32_t recNo, std::int32_t last)
{
    if (!ValidRecNo(recNo) || recNo > last || (m_openDatabase && m_state->tables.usedFlag(recNo) == '1')) {
        return false;
    }
    AddressRecord scratch{};
    return m_main.read(recNo, Bytes(scratch)) && (IsDeletedSlot(scratch) || IsNeverUsedSlot(scratch));
}

std::int32_t RecordWriter::store(std::int32_t wanted, const AddressRecord& rec, const ExtraRecord& extra)
{
    m_full = false;
    if (wanted == 0 && m_holdLimit != 0) {
        if (std::int32_t held = holdBack(rec, extra)) {
            return held;
        }
    }
    if (writeHeldBack() != 0) {
        return 0;
    }
    MainHeader header{};
    bool raisesLast = false;
    const std::int32_t lowest = chooseNewNumber(header, raisesLast);
    std::int32_t recNo = lowest;
    if (wanted != 0 && slotFree(wanted, SaneLastRecNo(GetLong(header.LastRecNo), m_main.recordCount(), MaxRecNo))) {
        recNo = wanted;
        raisesLast = false;
    }
    if (recNo == 0) {
        m_full = true;
        if (m_openDatabase) {
            TellDatabaseFull(*m_state);
        }
        return 0;
    }
    // The records go first: should anything fail, no header points at a record that is not there.
    if (!writeBoth(recNo, rec, extra, true) || (raisesLast && !writeHeaders(header, recNo))) {
        return 0;
    }
    if (recNo == lowest) {
        m_firstFreeCandidate = recNo + 1; // every slot below it was seen taken
    }
    if (m_openDatabase) {
        // Taken at once: the next add of this batch must not find the slot free.
        m_state->tables.setUsed(recNo, '1');
    }
    m_written = rec;
    m_pending.added.emplace_back(recNo, rec);
    return recNo;
}

bool RecordWriter::update(std::int32_t recNo, const AddressRecord& rec, const ExtraRecord& extra)
{
    if (writeHeldBack() != 0) {
        return false;
    }
    AddressRecord kept = rec;
    EnsureIdentity(kept);
    if (!ValidRecNo(recNo) || !writeBoth(recNo, kept, extra, false)) {
        return false;
    }
    m_written = kept;
    m_pending.changed.emplace_back(recNo, kept);
    return true;
}

bool RecordWriter::updateAddress(std::int32_t recNo, const AddressRecord& rec)
{
    if (writeHeldBack() != 0) {
        return false;
    }
    AddressRecord kept = rec;
    EnsureIdentity(kept);
    if (!ValidRecNo(recNo) || !m_main.write(recNo, Bytes(kept))) {
        TellWriteFailed(*m_state, m_mainPath);
        return false;
    }
    m_written = kept;
    m_pending.changed.emplace_back(recNo, kept);
    return true;
}

bool RecordWriter::remove(std::int32_t recNo)
{
    if (writeHeldBack() != 0) {
        return false;
    }
    if (!MarkDeletedIn(*m_state, m_main, m_mainPath, recNo)) {
        return false;
    }
    // The slot is free at once: a later add of this batch may take it.
    m_firstFreeCandidate = std::min(m_firstFreeCandidate, recNo);
    if (m_openDatabase) {
        m_state->tables.setUsed(recNo, ' ');
    }
    m_pending.deleted.push_back(recNo);
    return true;
}

std::int32_t AddRecord(StoreState& state, AddressRecord& rec, const ExtraRecord& extra, const void* origin)
{
    BusyCursor busy(state.ui);
    auto writer = RecordWriter::hold(state);
    if (!writer) {
        return 0;
    }
    std::int32_t recNo = writer->add(rec, extra);
    if (recNo != 0) {
        rec = writer->written();
    }
    writer->publish(origin);
    return recNo;
}

bool UpdateRecord(
    StoreState& state, std::int32_t recNo, AddressRecord& rec, const ExtraRecord& extra, const void* origin)
{
    BusyCursor busy(state.ui);
    auto writer = RecordWriter::hold(state);
    if (!writer) {
        return false;
    }
    bool done = writer->update(recNo, rec, extra);
    if (done) {
        rec = writer->written();
    }
    writer->publish(origin);
    return done;
}

bool DeleteRecord(StoreState& state, std::int32_t recNo, const void* origin)
{
    // Only the main file holds the mark: the extra file is not taken.
    const std::string path = MainFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, path, OpenMode::Write, MainRecLen);
    if (!main || !MarkDeletedIn(state, *main, path, recNo)) {
        return false;
    }
    RecordChanges changes;
    changes.deleted.push_back(recNo);
    changes.origin = origin;
    state.changes.publish(changes);
    return true;
}

bool ReadRecord(StoreState& state, std::int32_t recNo, AddressRecord& rec, ExtraRecord& extra)
{
    if (!ValidRecNo(recNo)) {
        return false;
    }
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Read, MainRecLen);
    if (!main) {
        return false;
    }
    auto extraFile = OpenDbFile(state, ExtraFileName(state.DataPath, state.DbNo), OpenMode::Read, ExtraRecLen);
    if (!extraFile) {
        return false;
    }
    return main->read(recNo, Bytes(rec)) && extraFile->read(recNo, Bytes(extra));
}

} // namespace talik
