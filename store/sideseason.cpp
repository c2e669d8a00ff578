// The card season's rows of the side store.
#include <sqlite3.h>

#include "store/sidestatement.h"
#include "store/sidestore.h"
#include "store/sidetransaction.h"

namespace talik {
namespace {

const char* ColumnOf(SeasonMark mark)
{
    switch (mark) {
    case SeasonMark::Sent:
        return "sent";
    case SeasonMark::Received:
        return "received";
    case SeasonMark::Mourning:
        return "mourning";
    case SeasonMark::Stop:
        break;
    }
    return nullptr;
}

SeasonMarks MarksOfRow(const SideStatement& row, int first)
{
    return {sqlite3_column_int(row.get(), first) != 0, sqlite3_column_int(row.get(), first + 1) != 0,
            sqlite3_column_int(row.get(), first + 2) != 0, row.columnText(first + 3)};
}

// A year left with no mark and no note is no row at all.
constexpr const char* DropEmptyYear =
    "DELETE FROM season WHERE identity = ?1 AND year = ?2 AND sent = 0 AND received = 0 AND mourning = 0"
    " AND note = ''";

} // namespace

PersonSideData SideStore::personData(const std::string& identity)
{
    return {jointNames(identity), seasonHistory(identity)};
}

bool SideStore::setPersonData(const std::string& identity, const PersonSideData& data)
{
    bool stored = data.joint.empty() || setJointNames(identity, data.joint);
    return stored && (data.season == SeasonHistory{} || setSeasonHistory(identity, data.season));
}

SeasonHistory SideStore::seasonHistory(const std::string& identity)
{
    SeasonHistory history;
    if (m_schema < SeasonSchema || identity.empty()) {
        return history;
    }
    SideStatement years(m_db, "SELECT year, sent, received, mourning, note FROM season WHERE identity = ?1");
    years.text(1, identity);
    int code = years.code();
    while (years.ok() && (code = sqlite3_step(years.get())) == SQLITE_ROW) {
        history.years[sqlite3_column_int(years.get(), 0)] = MarksOfRow(years, 1);
    }
    SideStatement stop(m_db, "SELECT 1 FROM season_stop WHERE identity = ?1");
    stop.text(1, identity);
    if (code == SQLITE_DONE && stop.ok()) {
        code = sqlite3_step(stop.get());
        history.stop = code == SQLITE_ROW;
        code = code == SQLITE_ROW ? SQLITE_DONE : code;
    }
    if (code != SQLITE_DONE) {
        failed(code == SQLITE_OK ? stop.code() : code);
        return {};
    }
    return history;
}

SeasonYear SideStore::seasonYear(int year)
{
    SeasonYear found;
    if (m_schema < SeasonSchema) {
        return found;
    }
    SideStatement marks(m_db, "SELECT identity, sent, received, mourning, note FROM season WHERE year = ?1");
    marks.number(1, year);
    int code = marks.code();
    while (marks.ok() && (code = sqlite3_step(marks.get())) == SQLITE_ROW) {
        found.marks[marks.columnText(0)] = MarksOfRow(marks, 1);
    }
    SideStatement stopped(m_db, "SELECT identity FROM season_stop");
    if (code == SQLITE_DONE && stopped.ok()) {
        while ((code = sqlite3_step(stopped.get())) == SQLITE_ROW) {
            found.stopped.insert(stopped.columnText(0));
        }
    }
    if (code != SQLITE_DONE) {
        failed(code == SQLITE_OK ? stopped.code() : code);
        return {};
    }
    return found;
}

bool SideStore::markSeason(const std::vector<std::string>& identities,
                           int year,
                           SeasonMark mark,
                           bool on,
                           const std::optional<std::string>& note)
{
    return inTransaction([&] {
        const char* column = ColumnOf(mark);
        const std::string set = column == nullptr ? std::string()
                                                  : std::string("INSERT INTO season(identity, year, ") + column +
                                                        ") VALUES(?1, ?2, ?3) ON CONFLICT(identity, year) DO UPDATE"
                                                        " SET " +
                                                        column + " = excluded." + column;
        SideStatement flag(m_db, column != nullptr ? set
                                 : on              ? "INSERT OR IGNORE INTO season_stop(identity) VALUES(?1)"
                                                   : "DELETE FROM season_stop WHERE identity = ?1");
        SideStatement noted(m_db, "INSERT INTO season(identity, year, note) VALUES(?1, ?2, ?3)"
                                  " ON CONFLICT(identity, year) DO UPDATE SET note = excluded.note");
        SideStatement drop(m_db, DropEmptyYear);
        int code = !flag.ok() ? flag.code() : !noted.ok() ? noted.code() : drop.code();
        for (std::size_t i = 0; code == SQLITE_OK && i < identities.size(); ++i) {
            const std::string& identity = identities[i];
            code = flag.text(1, identity).number(2, year).number(3, on ? 1 : 0).run();
            if (code == SQLITE_OK && note && column != nullptr) {
                code = noted.text(1, identity).number(2, year).text(3, *note).run();
            }
            if (code == SQLITE_OK) {
                code = drop.text(1, identity).number(2, year).run();
            }
        }
        return code;
    });
}

bool SideStore::setSeasonHistory(const std::string& identity, const SeasonHistory& history)
{
    return inTransaction([&] {
        SideStatement clearYears(m_db, "DELETE FROM season WHERE identity = ?1");
        SideStatement clearStop(m_db, "DELETE FROM season_stop WHERE identity = ?1");
        SideStatement insert(m_db, "INSERT INTO season(identity, year, sent, received, mourning, note)"
                                   " VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
        SideStatement stop(m_db, "INSERT INTO season_stop(identity) VALUES(?1)");
        int code = clearYears.text(1, identity).run();
        if (code == SQLITE_OK) {
            code = clearStop.text(1, identity).run();
        }
        for (auto it = history.years.begin(); code == SQLITE_OK && it != history.years.end(); ++it) {
            const SeasonMarks& m = it->second;
            if (m.any()) {
                code = insert.text(1, identity)
                           .number(2, it->first)
                           .number(3, m.sent)
                           .number(4, m.received)
                           .number(5, m.mourning)
                           .text(6, m.note)
                           .run();
            }
        }
        if (code == SQLITE_OK && history.stop) {
            code = stop.text(1, identity).run();
        }
        return code;
    });
}

} // namespace talik
