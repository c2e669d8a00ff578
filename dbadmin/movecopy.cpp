// Moving and copying records between databases.
#include "dbadmin/movecopy.h"

#include <cstring>

#include "store/identity.h"
#include "store/messages.h"
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
        if (!bringUpTarget() || !targetPasswordAccepted()) {
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
        if (m_target.add(rec, extra) != 0) {
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
        std::vector<JointName> names = m_sourceSide->jointNames(from);
        if (names.empty()) {
            return;
        }
        if (!m_targetSide) {
            m_targetSide = SideStore::open(m_state, m_request.targetDbNo, SideStore::Access::Write);
        }
        if (m_targetSide) {
            m_targetSide->setJointNames(to, names);
        }
    }

    void takeOutOfSource()
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
    }

    StoreState& m_state;
    const MoveCopyRequest& m_request;
    RecordWriter& m_source;
    RecordWriter& m_target;
    MainHeader m_header{};
    std::optional<SideStore> m_sourceSide = SideStore::open(m_state, m_state.DbNo, SideStore::Access::Read);
    std::optional<SideStore> m_targetSide;
    std::vector<std::int32_t> m_copied;
    MoveCopyOutcome m_outcome;
};

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
