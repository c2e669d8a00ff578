// talikcli import as the user runs it - a child process - of the CSV file of the 10 000-record
// database (written here in the export's format from the generated files) into an empty database,
// timed against the sqlite3 command-line program's .import of the same file into a fresh database,
// in the same run. The counter "ratio" is talikcli's time over sqlite3's.
//
// Goal: at most 120 ms where sqlite3 takes about 39 ms (a ratio of about 3). Measured on the shared
// 2-core machine, 9 793 lines: talikcli 161 ms, sqlite3 96 ms in the same run (ratio 1.67); most of
// talikcli's time is the system calls of the store's own add, a few per record.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "bench/benchsupport.h"
#include "platform/codec.h"
#include "store/record.h"

extern char** environ;

namespace talik {
namespace {

// Runs a program (looked up on PATH) with an argument list, never a shell, its output to /dev/null.
// Its exit code, or -1 when it did not start or end normally.
int Run(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// --- the CSV file, in the export's format ----------------------------------------------------------

constexpr const char* Header = "\"カナ名\",\"漢字名\",\"E-Mail\",\"生年月日\",\"分類コード\",\"郵便番号１\",\"住所１\","
                               "\"Tel1\",\"Fax1\",\"郵便番号２\",\"住所２\",\"Tel2\",\"Fax2\",\"会社名\",\"部署名\","
                               "\"備考\",\"備考追加データ\",\"関連情報\"";

void PutQuoted(std::string& line, std::string_view field, bool first)
{
    line += first ? "\"" : ",\"";
    for (char c : CleanFixedBytes(field)) {
        if (c == '\r' || c == '\n') {
            continue;
        }
        line += c == '"' ? "\"\"" : std::string(1, c);
    }
    line += '"';
}

std::string BirthdayText(std::int32_t yyyymmdd)
{
    char text[16];
    std::snprintf(text, sizeof(text), "%04d/%02d/%02d", (yyyymmdd / 10000) % 10000, (yyyymmdd / 100) % 100,
                  yyyymmdd % 100);
    return text;
}

template <std::size_t N> std::string_view Raw(const char (&field)[N])
{
    return {field, N};
}

// One line of the export for a record: its 18 fields in the export's order, CP932 as stored.
std::string CsvLine(const AddressRecord& r, const ExtraRecord& e)
{
    std::string line;
    PutQuoted(line, Raw(r.KanaName), true);
    PutQuoted(line, Raw(r.KanjiName), false);
    PutQuoted(line, Raw(r.EMail), false);
    line += ",\"" + BirthdayText(GetLong(r.Birthday)) + "\"";
    for (std::string_view field : {Raw(r.ClassCode), Raw(r.PostCode1), Raw(r.Address1), Raw(r.Tel1), Raw(r.Fax1),
                                   Raw(r.PostCode2), Raw(r.Address2), Raw(r.Tel2), Raw(r.Fax2), Raw(r.Company),
                                   Raw(r.Department), Raw(r.Remarks), Raw(e.RemarksExtra), Raw(e.RelatedInfo)}) {
        PutQuoted(line, field, false);
    }
    return line + "\r\n";
}

// Writes the CSV of database 1 of the data folder (header and live records); returns its record lines.
int WriteCsv(const std::string& dataPath, const std::string& csvPath)
{
    std::ifstream main(MainFileName(dataPath, 1), std::ios::binary);
    std::ifstream extra(ExtraFileName(dataPath, 1), std::ios::binary);
    AddressRecord rec{};
    ExtraRecord ext{};
    main.read(reinterpret_cast<char*>(&rec), sizeof(rec)); // the headers
    extra.read(reinterpret_cast<char*>(&ext), sizeof(ext));
    std::string csv = ToCp932(Header) + "\r\n";
    int lines = 0;
    while (main.read(reinterpret_cast<char*>(&rec), sizeof(rec)) &&
           extra.read(reinterpret_cast<char*>(&ext), sizeof(ext))) {
        if (!IsDeletedSlot(rec) && !IsNeverUsedSlot(rec)) {
            csv += CsvLine(rec, ext);
            ++lines;
        }
    }
    std::ofstream out(csvPath, std::ios::binary);
    out << csv;
    if (!out) {
        throw std::runtime_error("cannot write " + csvPath);
    }
    return lines;
}

// --- the two programs ---------------------------------------------------------------------------

// An empty folder for the next import (the database files of the last one removed).
void EmptyFolder(const std::string& folder, const std::vector<std::string>& files)
{
    mkdir(folder.c_str(), 0755);
    for (const auto& file : files) {
        std::remove(file.c_str());
    }
}

double SecondsOf(const std::vector<std::string>& args, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = Run(args) == 0 && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration imports with talikcli into an empty database, then with sqlite3 into a fresh one;
// the benchmark's time is talikcli's.
void BM_Import(benchmark::State& bench, Workspace& workspace)
{
    const int size = static_cast<int>(bench.range(0));
    const std::string root = workspace.programFolder();
    const std::string csv = root + "import" + std::to_string(size) + ".csv";
    const int lines = WriteCsv(workspace.dataPath(size), csv);
    const std::string target = root + "import-target";
    const std::vector<std::string> targetFiles = {MainFileName(target, 1), ExtraFileName(target, 1)};
    const std::string sqlitePath = root + "import.sqlite";
    const std::vector<std::string> talikcli = {TALIKCLI_PATH, "--data", target, "import", csv, "--skip-first"};
    // -init /dev/null: the user's ~/.sqliterc plays no part. The header line names the columns.
    const std::vector<std::string> sqlite3 = {"sqlite3",   "-batch",   "-init",
                                              "/dev/null", sqlitePath, ".import --csv " + csv + " addresses"};
    double talikSeconds = 0;
    double sqliteSeconds = 0;
    bool ok = true;
    for (auto _ : bench) {
        EmptyFolder(target, targetFiles);
        std::remove(sqlitePath.c_str());
        const double talik = SecondsOf(talikcli, ok);
        sqliteSeconds += SecondsOf(sqlite3, ok);
        talikSeconds += talik;
        bench.SetIterationTime(talik);
    }
    if (!ok) {
        bench.SkipWithError("talikcli or sqlite3 could not import the file");
        return;
    }
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["lines"] = lines;
    bench.counters["sqlite3_ms"] = sqliteSeconds / runs * 1000;
    bench.counters["ratio"] = talikSeconds / sqliteSeconds;
}

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    talik::Workspace workspace;
    // talikcli reads its settings file from here: the user's own settings play no part.
    setenv("TALIK_WINDIR", workspace.programFolder().c_str(), 1);
    benchmark::RegisterBenchmark("Csv/Import",
                                 [&workspace](benchmark::State& bench) { talik::BM_Import(bench, workspace); })
        ->Arg(10000)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
