#include "store/sidepairs.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

#include "store/messages.h"
#include "store/sidestatement.h"

namespace talik {
namespace {

// Joint names in one text: fields split by US, names by RS (neither is ever typed in a name).
std::string PackNames(const std::vector<JointName>& names)
{
    std::string packed;
    for (const JointName& name : names) {
        packed += name.family + '\x1f' + name.given + '\x1f' + name.honorific + '\x1e';
    }
    return packed;
}

std::vector<JointName> UnpackNames(std::string_view packed)
{
    std::vector<JointName> names;
    while (!packed.empty()) {
        std::size_t end = std::min(packed.find('\x1e'), packed.size());
        std::string_view one = packed.substr(0, end);
        std::size_t first = one.find('\x1f');
        std::size_t second = one.find('\x1f', first + 1);
        if (first != std::string_view::npos && second != std::string_view::npos) {
            names.push_back({std::string(one.substr(0, first)), std::string(one.substr(first + 1, second - first - 1)),
                             std::string(one.substr(second + 1))});
        }
        packed.remove_prefix(std::min(end + 1, packed.size()));
    }
    return names;
}

// A season history in one text: the stop mark, then each year's marks, split as the names are.
std::string PackSeason(const SeasonHistory& history)
{
    std::string packed = history.stop ? "1" : "0";
    for (const auto& [year, m] : history.years) {
        packed += '\x1e' + std::to_string(year) + '\x1f' + (m.sent ? "1" : "0") + '\x1f' + (m.received ? "1" : "0") +
                  '\x1f' + (m.mourning ? "1" : "0") + '\x1f' + m.note;
    }
    return packed;
}

SeasonHistory UnpackSeason(std::string_view packed)
{
    SeasonHistory history;
    history.stop = packed.starts_with("1");
    std::size_t at = packed.find('\x1e');
    while (at != std::string_view::npos) {
        std::size_t end = packed.find('\x1e', at + 1);
        std::string_view one = packed.substr(at + 1, end == std::string_view::npos ? end : end - at - 1);
        std::vector<std::string_view> fields;
        for (std::size_t start = 0;;) {
            std::size_t split = fields.size() < 4 ? one.find('\x1f', start) : std::string_view::npos;
            fields.push_back(one.substr(start, split == std::string_view::npos ? split : split - start));
            if (split == std::string_view::npos) {
                break;
            }
            start = split + 1;
        }
        if (fields.size() == 5) {
            history.years[std::atoi(std::string(fields[0]).c_str())] = {fields[1] == "1", fields[2] == "1",
                                                                        fields[3] == "1", std::string(fields[4])};
        }
        at = end;
    }
    return history;
}

} // namespace

IdentityPair OrderedPair(const std::string& a, const std::string& b)
{
    return a < b ? IdentityPair{a, b} : IdentityPair{b, a};
}

bool RememberNotDuplicate(SideStore& store, const IdentityPair& pair)
{
    SideStatement insert(store.handle(), "INSERT OR IGNORE INTO not_duplicates(first, second) VALUES(?1, ?2)");
    insert.text(1, pair.first);
    insert.text(2, pair.second);
    return insert.step() == SQLITE_DONE;
}

std::set<IdentityPair> NotDuplicates(SideStore& store)
{
    std::set<IdentityPair> pairs;
    // A store written before these tables existed has none: nothing was said yet.
    SideStatement select(store.handle(), "SELECT first, second FROM not_duplicates");
    while (select.step() == SQLITE_ROW) {
        pairs.emplace(select.columnText(0), select.columnText(1));
    }
    return pairs;
}

std::int64_t SaveMergeUndo(SideStore& store, const MergeUndo& undo)
{
    SideStatement insert(store.handle(),
                         "INSERT INTO merge_undo(survivor, survivor_main, survivor_extra, survivor_joint,"
                         " removed_number, removed_main, removed_extra, removed_joint,"
                         " survivor_season, removed_season)"
                         " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    insert.text(1, undo.survivor);
    insert.blob(2, &undo.survivorMain, sizeof undo.survivorMain);
    insert.blob(3, &undo.survivorExtra, sizeof undo.survivorExtra);
    insert.text(4, PackNames(undo.survivorJoint));
    insert.number(5, undo.removedNumber);
    insert.blob(6, &undo.removedMain, sizeof undo.removedMain);
    insert.blob(7, &undo.removedExtra, sizeof undo.removedExtra);
    insert.text(8, PackNames(undo.removedJoint));
    insert.text(9, PackSeason(undo.survivorSeason));
    insert.text(10, PackSeason(undo.removedSeason));
    if (insert.step() != SQLITE_DONE) {
        return 0;
    }
    return sqlite3_last_insert_rowid(store.handle());
}

std::optional<MergeUndo> LastMergeInto(SideStore& store, const std::string& survivor)
{
    SideStatement select(store.handle(),
                         "SELECT id, survivor_main, survivor_extra, survivor_joint, removed_number, removed_main,"
                         " removed_extra, removed_joint, survivor_season, removed_season FROM merge_undo"
                         " WHERE survivor = ?1 ORDER BY id DESC LIMIT 1");
    select.text(1, survivor);
    if (select.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    MergeUndo undo;
    undo.id = select.columnNumber(0);
    undo.survivor = survivor;
    select.columnBlob(1, undo.survivorMain);
    select.columnBlob(2, undo.survivorExtra);
    undo.survivorJoint = UnpackNames(select.columnText(3));
    undo.removedNumber = static_cast<std::int32_t>(select.columnNumber(4));
    select.columnBlob(5, undo.removedMain);
    select.columnBlob(6, undo.removedExtra);
    undo.removedJoint = UnpackNames(select.columnText(7));
    undo.survivorSeason = UnpackSeason(select.columnText(8));
    undo.removedSeason = UnpackSeason(select.columnText(9));
    return undo;
}

bool ForgetMergeUndo(SideStore& store, std::int64_t id)
{
    SideStatement remove(store.handle(), "DELETE FROM merge_undo WHERE id = ?1");
    remove.number(1, id);
    return remove.step() == SQLITE_DONE;
}

} // namespace talik
