// talikcli export of a whole database to a CP932 CSV file, run as the user runs it (a child
// process), timed against the sqlite3 command-line program writing the same CSV from the same
// addresses (in the same order) in the same run. The counter "ratio" is talikcli's time over
// sqlite3's.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "store/kana.h"
#include "store/record.h"

namespace talik {
namespace {

// The columns of the CSV file in their order, all text, as the export writes them.
constexpr std::array<const char*, 18> Columns = {
    "KanaName",  "KanjiName", "EMail", "Birthday", "ClassCode", "PostCode1",  "Address1", "Tel1",         "Fax1",
    "PostCode2", "Address2",  "Tel2",  "Fax2",     "Company",   "Department", "Remarks",  "RemarksExtra", "RelatedInfo",
};

template <std::size_t N> std::string Text(const char (&field)[N])
{
    return StripLineBreaks(GetText(field));
}

std::array<std::string, 18> CsvFields(const AddressRecord& r, const ExtraRecord& e)
{
    return {Text(r.KanaName),     Text(r.KanjiName),  Text(r.EMail),      FormatBirthday(GetLong(r.Birthday)),
            Text(r.ClassCode),    Text(r.PostCode1),  Text(r.Address1),   Text(r.Tel1),
            Text(r.Fax1),         Text(r.PostCode2),  Text(r.Address2),   Text(r.Tel2),
            Text(r.Fax2),         Text(r.Company),    Text(r.Department), Text(r.Remarks),
            Text(e.RemarksExtra), Text(e.RelatedInfo)};
}

void Exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string why = error != nullptr ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(why + " in " + sql);
    }
}

// Copies every live record of the database, with its index group and reading for the order.
void CopyToSqlite(const std::string& dataPath, const std::string& sqlitePath)
{
    std::remove(sqlitePath.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(sqlitePath.c_str(), &db) != SQLITE_OK) {
        throw std::runtime_error("cannot open " + sqlitePath);
    }
    std::string create = "CREATE TABLE addresses (recno INTEGER PRIMARY KEY, grp INTEGER";
    std::string insert = "INSERT INTO addresses VALUES (?, ?";
    for (const char* column : Columns) {
        create += std::string(", ") + column + " TEXT";
        insert += ", ?";
    }
    Exec(db, create + ")");
    Exec(db, "BEGIN");
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr);
    std::ifstream main(MainFileName(dataPath, 1), std::ios::binary);
    std::ifstream extraFile(ExtraFileName(dataPath, 1), std::ios::binary);
    AddressRecord rec{};
    ExtraRecord extra{};
    main.read(reinterpret_cast<char*>(&rec), sizeof(rec)); // the headers
    extraFile.read(reinterpret_cast<char*>(&extra), sizeof(extra));
    for (std::int32_t recNo = FirstRecNo; main.read(reinterpret_cast<char*>(&rec), sizeof(rec)); ++recNo) {
        extra = {};
        extraFile.read(reinterpret_cast<char*>(&extra), sizeof(extra));
        if (IsDeletedSlot(rec) || IsNeverUsedSlot(rec)) {
            continue;
        }
        sqlite3_bind_int(statement, 1, recNo);
        sqlite3_bind_int(statement, 2, KanaGroupOfBytes(std::string_view(rec.KanaName, sizeof(rec.KanaName))));
        int column = 3;
        for (const std::string& text : CsvFields(rec, extra)) {
            sqlite3_bind_text(statement, column++, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

std::string ExportSql()
{
    std::string sql = "SELECT ";
    for (const char* column : Columns) {
        sql += std::string(sql.size() > 7 ? ", " : "") + column;
    }
    return sql + " FROM addresses ORDER BY grp, KanaName, recno";
}

struct Contest
{
    std::vector<std::string> talikcli;
    std::vector<std::string> sqlite3;
    std::string talikOut;
    std::string sqliteOut;
};

Contest ExportContest(Workspace& workspace, int size)
{
    const std::string& data = workspace.dataPath(size);
    const std::string sqlitePath = data + "/csv.sqlite";
    if (!std::ifstream(sqlitePath)) {
        CopyToSqlite(data, sqlitePath);
    }
    Contest contest;
    contest.talikOut = workspace.programFolder() + "talikcli.csv";
    contest.sqliteOut = workspace.programFolder() + "sqlite3.csv";
    contest.talikcli = {TALIKCLI_PATH, "--data", data, "export", "--out", contest.talikOut};
    // -init /dev/null: the user's ~/.sqliterc plays no part. sqlite3 writes its standard output.
    contest.sqlite3 = {"sqlite3", "-batch",  "-readonly", "-init",    "/dev/null",
                       "-csv",    "-header", sqlitePath,  ExportSql()};
    return contest;
}

// Each iteration runs talikcli, then sqlite3; the benchmark's time is talikcli's.
void BM_Export(benchmark::State& bench, Workspace& workspace)
{
    const Contest contest = ExportContest(workspace, static_cast<int>(bench.range(0)));
    bool ok = true;
    double talikSeconds = 0;
    double sqliteSeconds = 0;
    for (auto _ : bench) {
        const double talik = SecondsOfRun(contest.talikcli, ok);
        sqliteSeconds += SecondsOfRun(contest.sqlite3, ok, contest.sqliteOut);
        talikSeconds += talik;
        bench.SetIterationTime(talik);
    }
    // Both files must hold a header and one line per record, or they did not write the same thing.
    const std::size_t lines = LineCount(contest.talikOut);
    if (!ok || lines != LineCount(contest.sqliteOut)) {
        bench.SkipWithError("talikcli and sqlite3 did not both export, or exported differently");
        return;
    }
    ReportRace(bench, static_cast<double>(lines), talikSeconds, sqliteSeconds);
}

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    const talik::NamedBenchmark races[] = {{"CsvOut/Export", talik::BM_Export}};
    return talik::RunRaces(argc, argv, races, {10000, 64000});
}
