// Reading and writing the record in the shared buffers.
#include <cstring>

#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

// A slot inside the used range that a new record may take: one deleted, or one never written.
std::int32_t FindFreeSlot(const AppState& state, const RecordFile& main, std::int32_t last)
{
    AddressRecord scratch{};
    for (std::int32_t i = FirstRecNo; i <= last; ++i) {
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

// The first slot past `last` that nothing was ever written to; 0 when the next would pass MaxRecNo.
std::int32_t FindSlotPastEnd(const RecordFile& main, std::int32_t last)
{
    AddressRecord scratch{};
    for (std::int32_t i = std::max(last, FirstRecNo - 1) + 1; i <= MaxRecNo; ++i) {
        main.read(i, Bytes(scratch));
        if (scratch.KanaName[0] == '\0') {
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

NewNumber ChooseNewNumber(const AppState& state, const RecordFile& main, MainHeader& header)
{
    main.read(1, Bytes(header));
    MainHeader probe = header;
    if (BringUpHeader(probe) == HeaderState::Fresh) {
        header = probe; // the file was emptied since the load
    }
    std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), main.recordCount(), MaxRecNo);
    if (std::int32_t slot = FindFreeSlot(state, main, last)) {
        return {slot, false};
    }
    return {FindSlotPastEnd(main, last), true};
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
    if (!main.write(1, Bytes(header)) || !extra.write(1, Bytes(extraHeader))) {
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

bool SaveCurrent(AppState& state)
{
    BusyCursor busy(state.ui);
    std::string mainPath = MainFileName(state.DataPath, state.DbNo);
    std::string extraPath = ExtraFileName(state.DataPath, state.DbNo);
    auto main = OpenDbFile(state, mainPath, OpenMode::Write, MainRecLen);
    if (!main) {
        return false;
    }
    auto extra = OpenDbFile(state, extraPath, OpenMode::Write, ExtraRecLen);
    if (!extra) {
        return false;
    }
    NewNumber number{state.CurRecNo, false};
    MainHeader header{};
    if (state.CurRecNo == 0) {
        number = ChooseNewNumber(state, *main, header);
        if (number.recNo == 0) {
            TellDatabaseFull(state);
            return false;
        }
    }
    // The records go first: should anything fail, no header points at a record that is not there.
    if (!main->write(number.recNo, Bytes(state.Rec))) {
        TellWriteFailed(state, mainPath);
        return false;
    }
    if (!extra->write(number.recNo, Bytes(state.Extra))) {
        TellWriteFailed(state, extraPath);
        return false;
    }
    if (number.raisesLast && !WriteHeaders(state, *main, *extra, header, number.recNo)) {
        TellWriteFailed(state, mainPath);
        return false;
    }
    state.CurRecNo = number.recNo;
    state.tables.setUsed(number.recNo, '1');
    return true;
}

} // namespace talik
