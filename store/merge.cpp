#include "store/merge.h"

#include <algorithm>
#include <map>

#include "store/identity.h"
#include "store/recordmerge.h"
#include "store/recordwriter.h"
#include "store/sidepairs.h"
#include "store/sidestore.h"
#include "store/state.h"

namespace talik {
namespace {

struct StoredPerson
{
    AddressRecord rec{};
    ExtraRecord extra{};
    std::string identity;
};

std::optional<StoredPerson> ReadPerson(RecordWriter& writer, std::int32_t recNo)
{
    StoredPerson person;
    if (recNo < FirstRecNo || recNo > MaxRecNo || !writer.read(recNo, person.rec, person.extra) ||
        IsDeletedSlot(person.rec) || IsNeverUsedSlot(person.rec)) {
        return std::nullopt;
    }
    person.identity = RecordIdentity(person.rec);
    return person;
}

// One person's card history from two: a mark of either record holds, a note of the kept one wins.
SeasonHistory JoinedSeasons(SeasonHistory kept, const SeasonHistory& moved)
{
    kept.stop = kept.stop || moved.stop;
    for (const auto& [year, marks] : moved.years) {
        SeasonMarks& into = kept.years[year];
        into.sent = into.sent || marks.sent;
        into.received = into.received || marks.received;
        into.mourning = into.mourning || marks.mourning;
        if (into.note.empty()) {
            into.note = marks.note;
        }
    }
    return kept;
}

std::vector<JointName> JoinedNames(std::vector<JointName> kept, const std::vector<JointName>& moved)
{
    for (const JointName& name : moved) {
        if (kept.size() < MaxJointNames && std::find(kept.begin(), kept.end(), name) == kept.end()) {
            kept.push_back(name);
        }
    }
    return kept;
}

bool StillThere(RecordWriter& writer, std::int32_t recNo, const std::string& identity)
{
    std::optional<StoredPerson> person = ReadPerson(writer, recNo);
    return person && !identity.empty() && person->identity == identity;
}

} // namespace

std::optional<std::vector<DuplicatePair>> ProposedDuplicates(StoreState& state, int minScore)
{
    std::optional<std::vector<KeyedPerson>> people = ReadKeyedPeople(state);
    if (!people) {
        return std::nullopt;
    }
    std::set<std::pair<std::int32_t, std::int32_t>> apart;
    if (auto side = SideStore::open(state, state.DbNo, SideStore::Access::Read)) {
        std::set<IdentityPair> said = NotDuplicates(*side);
        if (!said.empty()) {
            std::map<std::string, std::int32_t> numbers;
            for (const KeyedPerson& person : *people) {
                numbers.emplace(person.identity, person.recNo);
            }
            for (const auto& [first, second] : said) {
                auto x = numbers.find(first);
                auto y = numbers.find(second);
                if (x != numbers.end() && y != numbers.end()) {
                    apart.emplace(std::min(x->second, y->second), std::max(x->second, y->second));
                }
            }
        }
    }
    return FindDuplicates(*people, minScore, apart);
}

MergeOutcome
MergeDuplicates(StoreState& state, std::int32_t a, std::int32_t b, const std::set<std::string, std::less<>>& takeFromB)
{
    std::optional<RecordWriter> writer = RecordWriter::hold(state);
    if (!writer) {
        return MergeOutcome::Failed;
    }
    std::optional<StoredPerson> survivor = ReadPerson(*writer, a);
    std::optional<StoredPerson> removed = ReadPerson(*writer, b);
    if (!survivor || !removed || a == b) {
        return MergeOutcome::Missing;
    }
    if (survivor->identity.empty() && writer->update(a, survivor->rec, survivor->extra)) {
        survivor->rec = writer->written(); // an identity to keep the undo by
        survivor->identity = RecordIdentity(survivor->rec);
    }
    std::optional<SideStore> side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    if (!side || survivor->identity.empty()) {
        return MergeOutcome::Failed;
    }
    MergeUndo undo{0,
                   survivor->identity,
                   survivor->rec,
                   survivor->extra,
                   side->jointNames(survivor->identity),
                   b,
                   removed->rec,
                   removed->extra,
                   side->jointNames(removed->identity),
                   side->seasonHistory(survivor->identity),
                   side->seasonHistory(removed->identity)};
    // What is replaced is kept before anything changes: a stop after this leaves both records as
    // they were, and an undo that finds the other record still there only forgets the entry.
    if (SaveMergeUndo(*side, undo) == 0) {
        return MergeOutcome::Failed;
    }
    AddressRecord merged = survivor->rec;
    ExtraRecord mergedExtra = survivor->extra;
    MergeRecords(merged, mergedExtra, removed->rec, removed->extra, takeFromB);
    if (!side->setJointNames(survivor->identity, JoinedNames(undo.survivorJoint, undo.removedJoint)) ||
        !side->setSeasonHistory(survivor->identity, JoinedSeasons(undo.survivorSeason, undo.removedSeason)) ||
        !writer->update(a, merged, mergedExtra) || !writer->remove(b)) {
        return MergeOutcome::Failed;
    }
    if (!removed->identity.empty()) {
        side->setJointNames(removed->identity, {});
        side->setSeasonHistory(removed->identity, {});
    }
    writer->publish();
    return MergeOutcome::Merged;
}

std::int32_t UndoLastMerge(StoreState& state, std::int32_t a)
{
    std::optional<RecordWriter> writer = RecordWriter::hold(state);
    if (!writer) {
        return 0;
    }
    std::optional<StoredPerson> survivor = ReadPerson(*writer, a);
    std::optional<SideStore> side;
    if (survivor && !survivor->identity.empty()) {
        side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    }
    std::optional<MergeUndo> undo = side ? LastMergeInto(*side, survivor->identity) : std::nullopt;
    if (!undo) {
        return 0;
    }
    // The removed record comes back first: a stop before the survivor is rewritten leaves both. A
    // merge that stopped before its delete (or an undo that stopped before forgetting it) left the
    // record where it was: it is not brought back twice.
    std::int32_t back = StillThere(*writer, undo->removedNumber, RecordIdentity(undo->removedMain))
                            ? undo->removedNumber
                            : writer->restore(undo->removedNumber, undo->removedMain, undo->removedExtra);
    if (back == 0 || !writer->update(a, undo->survivorMain, undo->survivorExtra)) {
        return 0;
    }
    side->setJointNames(undo->survivor, undo->survivorJoint);
    side->setJointNames(RecordIdentity(undo->removedMain), undo->removedJoint);
    side->setSeasonHistory(undo->survivor, undo->survivorSeason);
    side->setSeasonHistory(RecordIdentity(undo->removedMain), undo->removedSeason);
    ForgetMergeUndo(*side, undo->id);
    writer->publish();
    return back;
}

bool MarkNotDuplicate(StoreState& state, std::int32_t a, std::int32_t b)
{
    std::optional<StoredPerson> first;
    std::optional<StoredPerson> second;
    {
        std::optional<RecordWriter> writer = RecordWriter::hold(state);
        if (!writer) {
            return false;
        }
        first = ReadPerson(*writer, a);
        second = ReadPerson(*writer, b);
        if (!first || !second || a == b) {
            return false;
        }
        // A record without an identity gets one: the pair is remembered by identities.
        for (auto [recNo, person] : {std::pair{a, &*first}, std::pair{b, &*second}}) {
            if (person->identity.empty() && writer->update(recNo, person->rec, person->extra)) {
                person->identity = RecordIdentity(writer->written());
            }
        }
    }
    std::optional<SideStore> side = SideStore::open(state, state.DbNo, SideStore::Access::Write);
    return side && !first->identity.empty() && !second->identity.empty() &&
           RememberNotDuplicate(*side, OrderedPair(first->identity, second->identity));
}

} // namespace talik
