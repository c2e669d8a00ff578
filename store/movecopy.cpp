// Moving and copying records between databases.
#include "store/movecopy.h"

#include <array>
#include <cstring>
#include <vector>

#include "store/database.h"
#include "store/dbfile.h"
#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

struct OpenPair
{
    RecordFile main;
    RecordFile extra;
};

// The four files, each opened "W" in the order: current main, current extra, target main, target
// extra. Those already open close again when a later one fails.
bool OpenFour(AppState& state, int targetDbNo, OpenPair& current, OpenPair& target)
{
    auto open = [&](const std::string& path, std::size_t recLen, RecordFile& into) {
        auto file = OpenDbFile(state, path, OpenMode::Write, recLen);
        if (file) {
            into = std::move(*file);
        }
        return file.has_value();
    };
    return open(MainFileName(state.DataPath, state.DbNo), MainRecLen, current.main) &&
           open(ExtraFileName(state.DataPath, state.DbNo), ExtraRecLen, current.extra) &&
           open(MainFileName(state.DataPath, targetDbNo), MainRecLen, target.main) &&
           open(ExtraFileName(state.DataPath, targetDbNo), ExtraRecLen, target.extra);
}

class Transfer
{
public:
    Transfer(AppState& state, ListModel& list, const MoveCopyRequest& request, OpenPair& current, OpenPair& target)
        : m_state(state), m_list(list), m_request(request), m_current(current), m_target(target),
          m_targetMainPath(MainFileName(state.DataPath, request.targetDbNo)),
          m_targetExtraPath(ExtraFileName(state.DataPath, request.targetDbNo))
    {}

    MoveCopyOutcome run()
    {
        if (!bringUpTarget() || !targetPasswordAccepted()) {
            m_outcome.stopped = true;
            return m_outcome;
        }
        std::vector<std::string> keys;
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            keys.push_back(m_list.at(i).key);
        }
        for (const std::string& key : keys) {
            if (!copyOne(RecNoOfKey(key))) {
                m_outcome.stopped = true;
                break;
            }
            m_state.ui.processEvents();
        }
        if (!writeTargetHeaders()) {
            m_copied.clear(); // past the stored last record nothing placed counts
            m_outcome.stopped = true;
        }
        m_outcome.done = static_cast<int>(m_copied.size());
        if (m_request.move) {
            takeOutOfSource();
        }
        if (m_outcome.stopped) {
            m_state.ui.message(
                std::to_string(m_outcome.done) +
                    "件を処理したところで中止しました。残りのデータは元のデータベースにそのまま残っています。",
                MessageIcon::Exclamation);
        }
        return m_outcome;
    }

private:
    const std::string& targetName() const { return m_state.settings.AddrDBName[m_request.targetDbNo - 1]; }

    // A target never opened gets a fresh header, one of the earlier layout is converted, as opening does.
    bool bringUpTarget()
    {
        m_target.main.read(1, Bytes(m_header));
        if (BringUpHeader(m_header) != HeaderState::Current && !m_target.main.write(1, Bytes(m_header))) {
            TellWriteFailed(m_state, m_targetMainPath);
            return false;
        }
        m_target.extra.read(1, Bytes(m_extraHeader));
        if (AllZero(Bytes(m_extraHeader))) {
            std::memset(&m_extraHeader, ' ', sizeof(m_extraHeader));
        }
        m_storedLast = SaneLastRecNo(GetLong(m_header.LastRecNo), m_target.main.recordCount(), MaxRecNo);
        m_last = m_storedLast;
        return true;
    }

    bool targetPasswordAccepted()
    {
        if (!HasPassword(m_header.PasswordField)) {
            return true;
        }
        std::string stored = DecodePassword(m_header.PasswordField);
        std::optional<std::string> entered =
            m_request.targetPassword ? m_request.targetPassword : m_state.ui.promptPassword(targetName());
        if (!entered) {
            return false;
        }
        if (*entered != stored) {
            m_state.ui.message("パスワードが正しくありません。", MessageIcon::Exclamation);
            return false;
        }
        return true;
    }

    // The next free slot of the target: a deleted or never written one up to the last record, else
    // the one after it. 0 when the target is full.
    std::int32_t nextSlot()
    {
        AddressRecord probe{};
        for (; m_cursor <= m_last; ++m_cursor) {
            m_target.main.read(m_cursor, Bytes(probe));
            if (IsDeletedSlot(probe) || IsNeverUsedSlot(probe)) {
                return m_cursor++;
            }
        }
        if (m_last >= MaxRecNo) {
            return 0;
        }
        m_cursor = ++m_last + 1;
        return m_last;
    }

    bool copyOne(std::int32_t recNo)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (recNo < FirstRecNo || !m_current.main.read(recNo, Bytes(rec)) ||
            !m_current.extra.read(recNo, Bytes(extra))) {
            TellAccessError(m_state, MainFileName(m_state.DataPath, m_state.DbNo));
            return false;
        }
        if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
            ++m_outcome.skipped; // deleted by another copy since the search
            return true;
        }
        std::int32_t slot = nextSlot();
        if (slot == 0) {
            m_state.ui.message("データベース「" + targetName() + "」の登録件数が上限（" +
                                   std::to_string(MaxRecNo - FirstRecNo + 1) +
                                   "件）に達したため、これ以上登録できません。",
                               MessageIcon::Exclamation);
            return false;
        }
        // The extra record first, then the address with the deleted mark, then its own first byte:
        // a write cut short leaves a free slot, never half a person.
        AddressRecord marked = rec;
        marked.KanaName[0] = static_cast<char>(DeletedMark);
        if (!m_target.extra.write(slot, Bytes(extra))) {
            TellWriteFailed(m_state, m_targetExtraPath);
            return false;
        }
        if (!m_target.main.write(slot, Bytes(marked)) || !m_target.main.writePart(slot, 0, Bytes(rec).first(1))) {
            TellWriteFailed(m_state, m_targetMainPath);
            return false;
        }
        m_copied.push_back(recNo);
        return true;
    }

    // The extra header's copy first; the main header last makes the new records part of the target.
    bool writeTargetHeaders()
    {
        if (m_last == m_storedLast) {
            return true;
        }
        SetLong(m_extraHeader.LastRecNo, m_last);
        if (!m_target.extra.write(1, Bytes(m_extraHeader))) {
            TellWriteFailed(m_state, m_targetExtraPath);
            return false;
        }
        MainHeader before = m_header;
        SetLong(m_header.LastRecNo, m_last);
        if (!m_target.main.write(1, Bytes(m_header))) {
            m_target.main.write(1, Bytes(before));
            TellWriteFailed(m_state, m_targetMainPath);
            return false;
        }
        return true;
    }

    void takeOutOfSource()
    {
        std::array<bool, GroupTotal> touched{};
        int taken = 0;
        for (std::int32_t recNo : m_copied) {
            AddressRecord rec{};
            m_current.main.read(recNo, Bytes(rec));
            MarkDeleted(rec);
            if (!m_current.main.write(recNo, Bytes(rec))) {
                TellWriteFailed(m_state, MainFileName(m_state.DataPath, m_state.DbNo));
                m_outcome.stopped = true;
                break;
            }
            ++taken;
            dropFromTables(recNo, touched);
        }
        m_outcome.done = taken;
        UpdateCountLabel(m_state);
        for (int g = 0; g < GroupTotal; ++g) {
            if (touched[g]) {
                UpdateGroupCaption(m_state, g);
            }
        }
    }

    void dropFromTables(std::int32_t recNo, std::array<bool, GroupTotal>& touched)
    {
        Tables& tables = m_state.tables;
        tables.setUsed(recNo, ' ');
        --tables.TotalCount;
        m_list.remove(RecordKey(recNo));
        if (recNo <= RecPosSize && tables.RecPos[recNo] != 0) {
            std::int32_t pos = tables.RecPos[recNo];
            tables.fillGapWithLastRow(pos % 100, pos / 100);
            tables.RecPos[recNo] = 0;
            touched[pos % 100] = true;
        }
    }

    AppState& m_state;
    ListModel& m_list;
    const MoveCopyRequest& m_request;
    OpenPair& m_current;
    OpenPair& m_target;
    std::string m_targetMainPath;
    std::string m_targetExtraPath;
    MainHeader m_header{};
    ExtraHeader m_extraHeader{};
    std::int32_t m_storedLast = 1;
    std::int32_t m_last = 1;
    std::int32_t m_cursor = FirstRecNo;
    std::vector<std::int32_t> m_copied;
    MoveCopyOutcome m_outcome;
};

} // namespace

MoveCopyOutcome MoveCopyListed(AppState& state, ListModel& list, const MoveCopyRequest& request)
{
    MoveCopyOutcome outcome;
    if (request.targetDbNo < 1 || request.targetDbNo > DbTotal || request.targetDbNo == state.DbNo) {
        outcome.stopped = true;
        return outcome;
    }
    BusyCursor busy(state.ui);
    OpenPair current;
    OpenPair target;
    if (!OpenFour(state, request.targetDbNo, current, target)) {
        outcome.stopped = true;
        return outcome;
    }
    return Transfer(state, list, request, current, target).run();
}

} // namespace talik
