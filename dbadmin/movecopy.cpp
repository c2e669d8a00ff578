// Moving and copying records between databases.
#include "dbadmin/movecopy.h"

#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "store/identity.h"
#include "store/messages.h"
#include "store/movejournal.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

class Transfer
{
public:
    Transfer(StoreState& state, const MoveCopyRequest& request, RecordWriter& source, RecordWriter& target)
        : m_state(state), m_request(request), m_source(source), m_target(target)
    {}

    MoveCopyOutcome run(const std::vector<std::int32_t>& records)
    {
        if (!bringUpTarget() || !targetPasswordAccepted() || !writeJournal(records)) {
            m_outcome.stopped = true;
            return m_outcome;
        }
        for (std::int32_t recNo : records) {
            if (!copyOne(recNo)) {
                m_outcome.stopped = true;
                break;
            }
            m_state.ui.processEvents();
        }
        m_outcome.done = static_cast<int>(m_copied.size());
        bool sourceDone = !m_request.move || takeOutOfSource();
        if (sourceDone) {
            EndMoveJournal(m_state.DataPath, m_state.DbNo,
                           {m_target.extraPath(), m_target.mainPath(), m_source.mainPath()});
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
        m_target.mainFile().read(1, Bytes(m_header));
        if (BringUpHeader(m_header) != HeaderState::Current && !m_target.mainFile().write(1, Bytes(m_header))) {
            TellWriteFailed(m_state, m_target.mainPath());
            return false;
        }
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

    // Names, before anything is copied, every record and the identity its copy will carry: a run
    // ended at any point is then finished by the next open of either database.
    bool writeJournal(const std::vector<std::int32_t>& records)
    {
        MoveJournal journal;
        journal.move = m_request.move;
        journal.sourceDbNo = m_state.DbNo;
        journal.targetDbNo = m_request.targetDbNo;
        for (std::int32_t recNo : records) {
            AddressRecord rec{};
            ExtraRecord extra{};
            if (m_source.read(recNo, rec, extra) && !IsDeletedSlot(rec) && !IsNeverUsedSlot(rec) &&
                m_copyIdentity.count(recNo) == 0) {
                std::string identity = NewIdentity();
                m_copyIdentity.emplace(recNo, identity);
                journal.entries.push_back({recNo, RecordIdentity(rec), identity});
            }
        }
        if (!WriteMoveJournal(m_state.DataPath, journal)) {
            TellWriteFailed(m_state, MoveJournalPath(m_state.DataPath, m_state.DbNo));
            return false;
        }
        return true;
    }

    bool copyOne(std::int32_t recNo)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (!m_source.read(recNo, rec, extra)) {
            TellAccessError(m_state, m_source.mainPath());
            return false;
        }
        if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
            ++m_outcome.skipped; // deleted by another copy since the search
            return true;
        }
        auto identity = m_copyIdentity.find(recNo);
        if (identity == m_copyIdentity.end()) {
            ++m_outcome.skipped; // listed twice, or unreadable when the journal was written
            return true;
        }
        // Taken out of the map before the copy: a second listing of the record is no second copy.
        const std::string copyIdentity = std::move(identity->second);
        m_copyIdentity.erase(identity);
        if (m_target.add(rec, extra, copyIdentity) != 0) {
            m_copied.push_back(recNo);
            carrySideData(RecordIdentity(rec), RecordIdentity(m_target.written()));
            return true;
        }
        if (m_target.full()) {
            m_state.ui.message("データベース「" + targetName() + "」の登録件数が上限（" +
                                   std::to_string(MaxRecNo - FirstRecNo + 1) +
                                   "件）に達したため、これ以上登録できません。",
                               MessageIcon::Exclamation);
        }
        return false;
    }

    // The person's side data goes with them, under the identity they have in the target.
    void carrySideData(const std::string& from, const std::string& to)
    {
        if (!m_sourceSide) {
            return;
        }
        PersonSideData data = m_sourceSide->personData(from);
        if (data.empty()) {
            return;
        }
        if (!m_targetSide) {
            m_targetSide = SideStore::open(m_state, m_request.targetDbNo, SideStore::Access::Write);
        }
        if (m_targetSide) {
            m_targetSide->setPersonData(to, data);
        }
    }

    // False when a record could not be marked: the journal then stays, and the next open finishes it.
    bool takeOutOfSource()
    {
        int taken = 0;
        for (std::int32_t recNo : m_copied) {
            if (!m_source.remove(recNo)) {
                m_outcome.stopped = true;
                break;
            }
            ++taken;
        }
        m_outcome.done = taken;
        m_source.publish();
        return taken == static_cast<int>(m_copied.size());
    }

    StoreState& m_state;
    const MoveCopyRequest& m_request;
    RecordWriter& m_source;
    RecordWriter& m_target;
    MainHeader m_header{};
    std::optional<SideStore> m_sourceSide = SideStore::open(m_state, m_state.DbNo, SideStore::Access::Read);
    std::optional<SideStore> m_targetSide;
    std::vector<std::int32_t> m_copied;
    std::unordered_map<std::int32_t, std::string> m_copyIdentity; // the journal's identity of each copy
    MoveCopyOutcome m_outcome;
};

// A run between either database that a kill left half done is finished first: its journal would
// otherwise be replaced by this run's. Records it takes out of the open database are published.
bool EarlierRunsFinished(StoreState& state, int targetDbNo)
{
    RecordChanges changes;
    for (int dbNo : {state.DbNo, targetDbNo}) {
        for (const FinishedMove& done : FinishInterruptedMoves(state, dbNo)) {
            if (done.sourceDbNo == state.DbNo) {
                changes.deleted.insert(changes.deleted.end(), done.deletedNow.begin(), done.deletedNow.end());
            }
        }
    }
    if (!changes.empty()) {
        state.changes.publish(changes);
    }
    if (std::filesystem::exists(MoveJournalPath(state.DataPath, state.DbNo))) {
        TellLockHeld(state, MainFileName(state.DataPath, state.DbNo)); // another run is moving its records
        return false;
    }
    return true;
}

} // namespace

MoveCopyOutcome
MoveCopyRecords(StoreState& state, const std::vector<std::int32_t>& records, const MoveCopyRequest& request)
{
    MoveCopyOutcome outcome;
    if (request.targetDbNo < 1 || request.targetDbNo > DbTotal || request.targetDbNo == state.DbNo) {
        outcome.stopped = true;
        return outcome;
    }
    BusyCursor busy(state.ui);
    if (!EarlierRunsFinished(state, request.targetDbNo)) {
        outcome.stopped = true;
        return outcome;
    }
    // Both files of the open database, then both of the target, each held with its lock.
    std::optional<RecordWriter> source = RecordWriter::hold(state);
    if (!source) {
        outcome.stopped = true;
        return outcome;
    }
    std::optional<RecordWriter> target = RecordWriter::hold(state, request.targetDbNo);
    if (!target) {
        outcome.stopped = true;
        return outcome;
    }
    return Transfer(state, request, *source, *target).run(records);
}

} // namespace talik
