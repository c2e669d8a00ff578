// talikcli as the user runs it - a child process, its output to /dev/null - timed against the
// sqlite3 command-line program answering the same question from the same addresses, in the same
// run: `list` against an ORDER BY on the reading, `search` on two fields against instr() over all
// fifteen text columns. The counter "ratio" is talikcli's time over sqlite3's; "read_once_ratio" is
// that of `cat` reading the main file once, start to end, over sqlite3's.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "search/searchconditions.h"
#include "store/record.h"

namespace talik {
namespace {

constexpr const char* SqliteTable = "addresses";

// The two conditions of the search, as talikcli takes them and as sqlite3 tests them.
constexpr std::string_view SearchReading = "ﾔﾏ";
constexpr std::string_view SearchCompany = "商事";

// --- the same addresses in an sqlite3 database ----------------------------------------------------

class Sqlite
{
public:
    explicit Sqlite(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK) {
            throw std::runtime_error("cannot open " + path);
        }
    }
    ~Sqlite() { sqlite3_close(m_db); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    void exec(const std::string& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string why = error != nullptr ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(why + " in " + sql);
        }
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

std::string CreateTableSql()
{
    std::string sql = std::string("CREATE TABLE ") + SqliteTable + " (recno INTEGER PRIMARY KEY";
    for (const auto& field : TextConditionFields()) {
        sql += ", " + std::string(field.name) + " TEXT";
    }
    return sql + ")";
}

std::string InsertSql()
{
    std::string sql = std::string("INSERT INTO ") + SqliteTable + " VALUES (?";
    for (std::size_t i = 0; i < TextConditionFields().size(); ++i) {
        sql += ", ?";
    }
    return sql + ")";
}

// Copies every live record of a main file, its fifteen text fields as the program shows them.
void CopyToSqlite(const std::string& mainFile, const std::string& sqlitePath)
{
    std::remove(sqlitePath.c_str());
    Sqlite db(sqlitePath);
    db.exec(CreateTableSql());
    db.exec("BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db.handle(), InsertSql().c_str(), -1, &insert, nullptr);
    std::ifstream in(mainFile, std::ios::binary);
    AddressRecord rec{};
    in.read(reinterpret_cast<char*>(&rec), sizeof(rec)); // the header
    for (std::int32_t recNo = FirstRecNo; in.read(reinterpret_cast<char*>(&rec), sizeof(rec)); ++recNo) {
        if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
            continue;
        }
        sqlite3_bind_int(insert, 1, recNo);
        int column = 2;
        for (const auto& field : TextConditionFields()) {
            const std::string text =
                GetText(std::span<const char>(reinterpret_cast<const char*>(&rec) + field.offset, field.width));
            sqlite3_bind_text(insert, column++, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            sqlite3_finalize(insert);
            throw std::runtime_error("cannot insert record " + std::to_string(recNo));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    db.exec("COMMIT");
}

std::string Quoted(std::string_view text)
{
    return "'" + std::string(text) + "'"; // the conditions hold no quote
}

// Every text column tested with instr(), as a search form that may fill any of them would ask: the
// two conditions, and an empty text (found everywhere) for the other thirteen.
std::string SearchSql()
{
    std::string sql = std::string("SELECT recno, KanaName, KanjiName FROM ") + SqliteTable + " WHERE ";
    bool first = true;
    for (const auto& field : TextConditionFields()) {
        std::string_view needle = field.name == "KanaName"  ? SearchReading
                                  : field.name == "Company" ? SearchCompany
                                                            : std::string_view();
        sql +=
            (first ? "" : " AND ") + std::string("instr(") + std::string(field.name) + ", " + Quoted(needle) + ") > 0";
        first = false;
    }
    return sql + " ORDER BY recno";
}

std::string ListSql()
{
    return std::string("SELECT KanaName, KanjiName, Tel1 FROM ") + SqliteTable + " ORDER BY KanaName";
}

// --- the two programs ---------------------------------------------------------------------------

struct Contest
{
    std::vector<std::string> talikcli;
    std::vector<std::string> sqlite3;
    // A program that only reads the main file once, start to end: what any answer read from the
    // records costs at the least on this machine (starting a process, the kernel handing over 38 MB).
    std::vector<std::string> readOnce;
};

std::vector<std::string> SqliteCommand(const std::string& sqlitePath, const std::string& sql)
{
    // -init /dev/null: the user's ~/.sqliterc plays no part.
    return {"sqlite3", "-batch", "-readonly", "-init", "/dev/null", sqlitePath, sql};
}

std::vector<std::string> ReadOnceCommand(Workspace& workspace, int size)
{
    return {"cat", MainFileName(workspace.dataPath(size), 1)};
}

// The data folder of `size` with its sqlite3 copy beside it, made once per size.
std::string SqliteCopy(Workspace& workspace, int size)
{
    const std::string& data = workspace.dataPath(size);
    const std::string path = data + "/addresses.sqlite";
    if (!std::ifstream(path)) {
        CopyToSqlite(MainFileName(data, 1), path);
    }
    return path;
}

Contest ListContest(Workspace& workspace, int size)
{
    const std::string sqlitePath = SqliteCopy(workspace, size);
    return {{TALIKCLI_PATH, "--data", workspace.dataPath(size), "list"},
            SqliteCommand(sqlitePath, ListSql()),
            ReadOnceCommand(workspace, size)};
}

Contest SearchContest(Workspace& workspace, int size)
{
    const std::string sqlitePath = SqliteCopy(workspace, size);
    return {{TALIKCLI_PATH, "--data", workspace.dataPath(size), "search", "--KanaName=" + std::string(SearchReading),
             "--Company=" + std::string(SearchCompany)},
            SqliteCommand(sqlitePath, SearchSql()),
            ReadOnceCommand(workspace, size)};
}

// Both programs must give the same number of lines, or they did not answer the same question.
bool SameAnswer(Workspace& workspace, const Contest& contest, std::size_t& lines)
{
    const std::string talikOut = workspace.programFolder() + "talikcli.out";
    const std::string sqliteOut = workspace.programFolder() + "sqlite3.out";
    if (RunProgram(contest.talikcli, talikOut) != 0 || RunProgram(contest.sqlite3, sqliteOut) != 0) {
        return false;
    }
    lines = LineCount(talikOut);
    return lines == LineCount(sqliteOut);
}

// Each iteration runs talikcli, then sqlite3; the benchmark's time is talikcli's.
void Compete(benchmark::State& bench, Workspace& workspace, Contest (*contestOf)(Workspace&, int))
{
    const int size = static_cast<int>(bench.range(0));
    const Contest contest = contestOf(workspace, size);
    std::size_t lines = 0;
    if (!SameAnswer(workspace, contest, lines)) {
        bench.SkipWithError("talikcli and sqlite3 did not both answer, or answered differently");
        return;
    }
    double talikSeconds = 0;
    double sqliteSeconds = 0;
    double readOnceSeconds = 0;
    bool ok = true;
    for (auto _ : bench) {
        const double talik = SecondsOfRun(contest.talikcli, ok);
        sqliteSeconds += SecondsOfRun(contest.sqlite3, ok);
        readOnceSeconds += SecondsOfRun(contest.readOnce, ok);
        talikSeconds += talik;
        bench.SetIterationTime(talik);
    }
    if (!ok) {
        bench.SkipWithError("a run failed");
        return;
    }
    ReportRace(bench, static_cast<double>(lines), talikSeconds, sqliteSeconds);
    // The ratio no program reading the records could go below.
    bench.counters["read_once_ratio"] = readOnceSeconds / sqliteSeconds;
}

void BM_List(benchmark::State& bench, Workspace& workspace)
{
    Compete(bench, workspace, ListContest);
}

void BM_Search(benchmark::State& bench, Workspace& workspace)
{
    Compete(bench, workspace, SearchContest);
}

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    const talik::NamedBenchmark races[] = {
        {"Cli/List", talik::BM_List},
        {"Cli/Search", talik::BM_Search},
    };
    return talik::RunRaces(argc, argv, races, {10000, 64000});
}
