#include "store/tablesync.h"

#include <array>

#include "store/messages.h"
#include "store/state.h"

namespace talik {
namespace {

int GroupOf(const AddressRecord& rec)
{
    return KanaGroupOfBytes(std::string_view(rec.KanaName, sizeof(rec.KanaName)));
}

// Takes the record's row out of its group; the record stays counted.
void DropRow(Tables& tables, std::int32_t recNo)
{
    if (recNo < 1 || recNo > RecPosSize || tables.RecPos[recNo] == 0) {
        return;
    }
    std::int32_t pos = tables.RecPos[recNo];
    tables.fillGapWithLastRow(pos % 100, pos / 100);
    tables.RecPos[recNo] = 0;
}

class TableFollower
{
public:
    explicit TableFollower(StoreState& state) : m_state(state), m_tables(state.tables) {}

    void deleted(std::int32_t recNo)
    {
        m_tables.setUsed(recNo, ' ');
        --m_tables.TotalCount;
        DropRow(m_tables, recNo);
    }

    void changed(std::int32_t recNo, const AddressRecord& rec)
    {
        int group = GroupOf(rec);
        std::int32_t pos = recNo <= RecPosSize ? m_tables.RecPos[recNo] : 0;
        if (pos != 0 && pos % 100 == group) {
            m_tables.fillRow(m_scratch, rec, recNo);
            m_tables.replaceRow(group, pos / 100, m_scratch);
            return;
        }
        DropRow(m_tables, recNo);
        append(recNo, rec, group);
    }

    void added(std::int32_t recNo, const AddressRecord& rec)
    {
        m_tables.setUsed(recNo, '1');
        ++m_tables.TotalCount;
        append(recNo, rec, GroupOf(rec));
    }

private:
    void append(std::int32_t recNo, const AddressRecord& rec, int group)
    {
        m_tables.fillRow(m_scratch, rec, recNo);
        if (!m_tables.appendRow(group, m_scratch) && !m_toldFull[static_cast<std::size_t>(group)]) {
            m_toldFull[static_cast<std::size_t>(group)] = true;
            TellGroupFull(m_state, group);
        }
    }

    StoreState& m_state;
    Tables& m_tables;
    TableRow m_scratch; // one row's text, grown once and reused
    std::array<bool, GroupTotal> m_toldFull{};
};

} // namespace

void ApplyToTables(StoreState& state, const RecordChanges& changes)
{
    if (changes.cleared) {
        state.tables.clear();
    }
    TableFollower follow(state);
    for (std::int32_t recNo : changes.deleted) {
        follow.deleted(recNo);
    }
    for (const auto& [recNo, rec] : changes.changed) {
        follow.changed(recNo, rec);
    }
    for (const auto& [recNo, rec] : changes.added) {
        follow.added(recNo, rec);
    }
}

StoreState::StoreState(Interaction& ui, Clock& clock)
    : ui(ui), clock(clock), m_tablesFollow(changes, [this](const RecordChanges& c) { ApplyToTables(*this, c); })
{}

} // namespace talik
