// Reading and writing the record in the shared buffers.
#include <algorithm>
#include <cstring>

#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

// A slot inside the used range that a new record may take: one deleted, or one never written.
std::int32_t FindFreeSlot(const AppState& state, const RecordFile& main, std::int32_t from, std::int32_t last)
{
    AddressRecord scratch{};
    for (std::int32_t i = std::max(from, FirstRecNo); i <= last; ++i) {
        if (state.tables.usedFlag(i) == '1') {
            continue;
        }
        main.read(i, Bytes(scratch));
        if (IsDeletedSlot(scratch) || IsNeverUsedSlot(scratch)) {
            return i;
        }
    }
    return 0;
}

struct NewNumber
{
    std::int32_t recNo = 0;
    bool raisesLast = false; // the number lies past LastRecNo: both headers must learn it
};

NewNumber ChooseNewNumber(const AppState& state, const RecordFile& main, MainHeader& header, std::int32_t from)
{
    main.read(1, Bytes(header));
    MainHeader probe = header;
    if (BringUpHeader(probe) == HeaderState::Fresh) {
        header = probe; // the file was emptied since the load
    }
    std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), main.recordCount(), MaxRecNo);
    if (std::int32_t slot = FindFreeSlot(state, main, from, last)) {
        return {slot, false};
    }
    // Whatever lies past the last record is left over from an add that never finished: the new
    // record takes the next number and overwrites it whole.
    return {last < MaxRecNo ? last + 1 : 0, true};
}

// Puts a new address down so that a write cut short leaves a deleted slot, never half a person:
// the record goes first with the deleted mark in its first byte, and its own first byte follows.
bool WriteNewAddress(RecordFile& main, std::int32_t recNo, const AddressRecord& rec)
{
    AddressRecord marked = rec;
    marked.KanaName[0] = static_cast<char>(DeletedMark);
    return main.write(recNo, Bytes(marked)) && main.writePart(recNo, 0, Bytes(rec).first(1));
}

// Writes both records of the buffers at `recNo`; the user is told of a failure. The extra record
// goes first, so that a live address always has its own extra record behind it.
bool WriteBothRecords(AppState& state, RecordFile& main, RecordFile& extra, std::int32_t recNo, bool isNew)
{
    if (!extra.write(recNo, Bytes(state.Extra))) {
        TellWriteFailed(state, ExtraFileName(state.DataPath, state.DbNo));
        return false;
    }
    bool written = isNew ? WriteNewAddress(main, recNo, state.Rec) : main.write(recNo, Bytes(state.Rec));
    if (!written) {
        TellWriteFailed(state, MainFileName(state.DataPath, state.DbNo));
        return false;
    }
    return true;
}

bool WriteHeaders(AppState& state, RecordFile& main, RecordFile& extra, MainHeader& header, std::int32_t last)
{
    SetLong(header.LastRecNo, last);
    ExtraHeader extraHeader{};
    extra.read(1, Bytes(extraHeader));
    if (AllZero(Bytes(extraHeader))) {
        // A new extra file: its text fields start blank like every other text field.
        std::memset(&extraHeader, ' ', sizeof(extraHeader));
    }
    SetLong(extraHeader.LastRecNo, last);
    // The main header goes last: it is what makes the new record part of the database. The copy in
    // the extra header is never read, so one ahead of it does no harm.
    if (!extra.write(1, Bytes(extraHeader))) {
        TellWriteFailed(state, ExtraFileName(state.DataPath, state.DbNo));
        return false;
    }
    MainHeader before{};
    main.read(1, Bytes(before));
    if (!main.write(1, Bytes(header))) {
        // Part of the header may be down already, the new number with it: put the old one back so
        // that the add told as failed does not show up at the next load.
        main.write(1, Bytes(before));
        TellWriteFailed(state, MainFileName(state.DataPath, state.DbNo));
        return false;
    }
    state.Header = header;
    state.ExtraHdr = extraHeader;
    return true;
}

} // namespace

bool ReadCurrent(AppState& state)
{
    if (state.CurRecNo < FirstRecNo || state.CurRecNo > MaxRecNo) {
        return false;
    }
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Read, MainRecLen);
    if (!main) {
        return false;
    }
    auto extra = OpenDbFile(state, ExtraFileName(state.DataPath, state.DbNo), OpenMode::Read, ExtraRecLen);
    if (!extra) {
        return false;
    }
    return main->read(state.CurRecNo, Bytes(state.Rec)) && extra->read(state.CurRecNo, Bytes(state.Extra));
}

std::optional<HeldDatabase> HoldDatabase(AppState& state)
{
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Write, MainRecLen);
    if (!main) {
        return std::nullopt;
    }
    auto extra = OpenDbFile(state, ExtraFileName(state.DataPath, state.DbNo), OpenMode::Write, ExtraRecLen);
    if (!extra) {
        return std::nullopt;
    }
    return HeldDatabase{std::move(*main), std::move(*extra), FirstRecNo};
}

bool SaveCurrent(AppState& state)
{
    BusyCursor busy(state.ui);
    std::optional<HeldDatabase> held = HoldDatabase(state);
    return held && SaveCurrent(state, *held);
}

bool SaveCurrent(AppState& state, HeldDatabase& held)
{
    NewNumber number{state.CurRecNo, false};
    MainHeader header{};
    if (state.CurRecNo == 0) {
        number = ChooseNewNumber(state, held.main, header, held.firstFreeCandidate);
        if (number.recNo == 0) {
            TellDatabaseFull(state);
            return false;
        }
    }
    // The records go first: should anything fail, no header points at a record that is not there.
    if (!WriteBothRecords(state, held.main, held.extra, number.recNo, state.CurRecNo == 0)) {
        return false;
    }
    if (number.raisesLast && !WriteHeaders(state, held.main, held.extra, header, number.recNo)) {
        return false;
    }
    if (state.CurRecNo == 0) {
        held.firstFreeCandidate = number.recNo + 1;
    }
    state.CurRecNo = number.recNo;
    state.tables.setUsed(number.recNo, '1');
    return true;
}

} // namespace talik
