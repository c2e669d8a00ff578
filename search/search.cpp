// The search engine: one pass over the main file, by kind, filling the result list from the tables.
#include "search/search.h"

#include <algorithm>

#include "listwin/appstate.h"
#include "listwin/listsync.h"
#include "search/searchconditions.h"
#include "store/database.h"
#include "store/dbfile.h"
#include "store/kana.h"
#include "store/messages.h"
#include "store/recordchunks.h"
#include "store/recordwriter.h"
#include "store/sidestore.h"

namespace talik {
namespace {

constexpr long long EventsEveryMs = 20; // how often a long scan lets window events run

// Narrow and exclude searches look only at the records of the last result.
bool RefinesResult(SearchKind kind)
{
    return kind == SearchKind::Narrow || kind == SearchKind::Exclude;
}

// Records 2..last are scanned; those after `inFile` lie past the end of the file and read as zeros.
struct ScanRange
{
    std::int32_t last = 1;
    std::int32_t inFile = 1;
};

ScanRange RangeOf(const RecordFile& main)
{
    MainHeader header{};
    main.read(1, Bytes(header));
    const std::int64_t records = main.recordCount();
    const std::int32_t last = SaneLastRecNo(GetLong(header.LastRecNo), records, MaxRecNo);
    return {last, static_cast<std::int32_t>(std::min<std::int64_t>(last, records))};
}

void SetFlags(SearchSession& session, std::int32_t from, std::int32_t to, char flag)
{
    if (from <= to) {
        std::fill(session.HitFlag.begin() + from, session.HitFlag.begin() + to + 1, flag);
    }
}

// What each kind keeps of the last result before the scan. A new search starts from an empty list
// too, so a session can be reused; records past the end of the file can be no result.
void Prepare(SearchSession& session, ListModel& result, ScanRange range)
{
    if (session.kind != SearchKind::Add) {
        result.clear();
    }
    if (session.kind == SearchKind::New) {
        SetFlags(session, FirstRecNo, range.last, ' ');
    } else if (RefinesResult(session.kind)) {
        SetFlags(session, range.inFile + 1, range.last, ' ');
    }
}

// The list item of a record the tables hold no row for (its group was full, or another copy wrote
// it after the load): built from the record the same way the tables build theirs.
ListItem ItemFromRecord(const AppState& state, std::int32_t recNo, const AddressRecord& rec)
{
    TableRow row;
    state.tables.fillRow(row, rec, recNo);
    ListItem item{RecordKey(recNo), std::string(row.column(0)), {}};
    for (int c = 1; c <= state.tables.columns.nCols; ++c) {
        item.subItems.emplace_back(row.column(c));
    }
    return item;
}

void AddHit(const AppState& state, ListModel& result, std::int32_t recNo, const AddressRecord& rec)
{
    const Tables& tables = state.tables;
    const std::int32_t pos = recNo <= RecPosSize ? tables.RecPos[recNo] : 0;
    const int row = pos / 100;
    const int group = pos % 100;
    if (row >= 1 && group < GroupTotal && row <= tables.GroupCount(group) && tables.row(group, row).recNo == recNo) {
        AddListRow(state, result, tables.columns.nCols, row, group);
    } else {
        result.add(ItemFromRecord(state, recNo, rec));
    }
}

// Decides record by record what becomes of it, by the kind of search.
class RecordScan
{
public:
    RecordScan(AppState& state, const SearchConditions& conditions, SearchSession& session, ListModel& result)
        : m_state(state), m_conditions(conditions), m_session(session), m_result(result),
          m_refines(RefinesResult(session.kind)), m_reversed(session.kind == SearchKind::Exclude)
    {}

    // False when none of records first..first+count-1 needs looking at.
    bool wantsAny(std::int32_t first, std::size_t count) const
    {
        const auto begin = m_session.HitFlag.begin() + first;
        const auto end = begin + static_cast<std::ptrdiff_t>(count);
        return !m_refines || std::find(begin, end, '1') != end;
    }

    // The bytes of each record worth asking for ahead of time.
    SearchConditions::FieldPlace firstLook() const { return m_conditions.firstLook(); }

    // Examines one stored record; false when the result is full and the scan must stop.
    bool examine(std::int32_t recNo, const AddressRecord& rec)
    {
        char& flag = m_session.HitFlag[recNo];
        if (m_refines) {
            if (flag != '1') {
                return true;
            }
            flag = ' ';
        }
        if (!isHit(rec)) {
            return true;
        }
        // A new or add search lists a record once; narrow and exclude lists start empty.
        if (m_refines || flag != '1') {
            AddHit(m_state, m_result, recNo, rec);
        }
        flag = '1';
        return m_result.size() < static_cast<std::size_t>(MaxSearchHits);
    }

private:
    bool isHit(const AddressRecord& rec) const
    {
        const auto first = static_cast<unsigned char>(rec.KanaName[0]);
        // The same records the list leaves out: deleted ones and slots never written.
        if (IsDeletedFirstByte(first) || (first == 0 && IsNeverUsedSlot(rec))) {
            return false;
        }
        return m_reversed ? !m_conditions.anyHolds(rec) : m_conditions.allHold(rec);
    }

    AppState& m_state;
    const SearchConditions& m_conditions;
    SearchSession& m_session;
    ListModel& m_result;
    bool m_refines;
    bool m_reversed;
};

// An unreadable piece of the file reads as zeros: never-used slots.
SearchEnd ScanFile(AppState& state, const RecordFile& main, ScanRange range, RecordScan& scan)
{
    SearchEnd end = SearchEnd::Done;
    long long lastEvents = state.clock.monotonicMs();
    const SearchConditions::FieldPlace look = scan.firstLook();
    const auto scanChunk = [&](std::int64_t first, std::span<const AddressRecord> chunk) {
        const auto from = static_cast<std::int32_t>(first);
        if (!scan.wantsAny(from, chunk.size())) {
            return true;
        }
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            PrefetchAhead(chunk, i, look.offset, look.width);
            if (!scan.examine(from + static_cast<std::int32_t>(i), chunk[i])) {
                end = SearchEnd::TooMany;
                return false;
            }
        }
        if (state.clock.monotonicMs() - lastEvents >= EventsEveryMs) {
            state.ui.processEvents();
            lastEvents = state.clock.monotonicMs();
        }
        return true;
    };
    ForEachRecordChunk<AddressRecord>(main, FirstRecNo, range.inFile, scanChunk);
    return end;
}

// Opens the main file for the length of the scan.
SearchEnd Search(AppState& state, const SearchConditions& conditions, SearchSession& session, ListModel& result)
{
    auto main = OpenDbFile(state, MainFileName(state.DataPath, state.DbNo), OpenMode::Read, MainRecLen);
    if (!main) {
        return SearchEnd::Failed;
    }
    const ScanRange range = RangeOf(*main);
    Prepare(session, result, range);
    if (conditions.empty()) {
        if (RefinesResult(session.kind)) {
            SetFlags(session, FirstRecNo, range.last, ' '); // the emptied list is the result now
        }
        return SearchEnd::NoCondition;
    }
    result.setSorted(false); // appending and sorting once beats keeping up to 3000 items in order
    RecordScan scan(state, conditions, session, result);
    return ScanFile(state, *main, range, scan);
}

void SetCheckItems(AddressRecord& rec, const std::array<bool, 15>& items, bool set)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]) {
            rec.CheckItems[i] = set ? '1' : ' ';
        }
    }
}

} // namespace

SearchOutcome RunSearch(AppState& state, SearchSession& session, ListModel& result)
{
    BusyCursor busy(state.ui);
    state.ui.processEvents();
    if (session.HitFlag.size() <= static_cast<std::size_t>(MaxRecNo)) {
        session.HitFlag.resize(MaxRecNo + 1, ' ');
    }
    CleanConditions(state.Rec);
    SearchConditions conditions(state.Rec);
    if (!state.Joint.empty()) {
        conditions.requirePeople(PeopleWithJointNames(state, state.Joint));
    }
    const SearchEnd end = Search(state, conditions, session, result);
    if (end == SearchEnd::NoCondition) {
        state.ui.message(std::string(NoConditionMessage), MessageIcon::Exclamation);
    } else if (end == SearchEnd::TooMany) {
        state.ui.message(std::string(TooManyHitsMessage), MessageIcon::Exclamation);
    }
    if (end != SearchEnd::Failed) {
        result.sortOn(0);
    }
    return {end, static_cast<int>(result.size())};
}

std::string SearchCountLine(const AppState& state, int hits)
{
    return "検索件数：" + std::to_string(state.tables.TotalCount) + " 件　　該当件数：" + std::to_string(hits) + " 件";
}

int ApplyCheckItems(AppState& state, const ListModel& result, const std::array<bool, 15>& items, bool set)
{
    BusyCursor busy(state.ui);
    auto writer = RecordWriter::hold(state);
    if (!writer) {
        return -1;
    }
    int written = 0;
    for (const std::int32_t recNo : RecordsOf(result)) {
        AddressRecord rec{};
        ExtraRecord extra{};
        if (recNo < FirstRecNo || recNo > MaxRecNo) {
            continue;
        }
        if (!writer->read(recNo, rec, extra)) {
            TellWriteFailed(state, writer->mainPath());
            return -1;
        }
        // A record another copy deleted meanwhile is left alone: its slot may be reused.
        if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
            continue;
        }
        SetCheckItems(rec, items, set);
        if (!writer->updateAddress(recNo, rec)) {
            return -1;
        }
        ++written;
    }
    return written;
}

} // namespace talik
