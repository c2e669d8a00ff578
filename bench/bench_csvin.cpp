// talikcli import as the user runs it - a child process - of the CSV file of the 10 000-record
// database (written by talikcli export) into an empty database, timed against the sqlite3
// command-line program's .import of the same file into a fresh database, in the same run. The
// counter "ratio" is talikcli's time over sqlite3's. Goal: a ratio of at most 2. New records go to
// the files 512 at a time (a write per file and the header once), so the time left is mostly the
// lines' own work: reading, encoding, and the keys each line is matched by.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "bench/benchsupport.h"
#include "platform/codec.h"
#include "store/record.h"

namespace talik {
namespace {

// --- the CSV file: what the program's own export writes -----------------------------------------

// Exports database 1 of the data folder with talikcli; returns its record lines.
int WriteCsv(const std::string& dataPath, const std::string& csvPath)
{
    if (RunProgram({TALIKCLI_PATH, "--data", dataPath, "export", "--out", csvPath}) != 0) {
        throw std::runtime_error("talikcli could not export " + dataPath);
    }
    return static_cast<int>(LineCount(csvPath)) - 1; // the header line
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
        const double talik = SecondsOfRun(talikcli, ok);
        sqliteSeconds += SecondsOfRun(sqlite3, ok);
        talikSeconds += talik;
        bench.SetIterationTime(talik);
    }
    if (!ok) {
        bench.SkipWithError("talikcli or sqlite3 could not import the file");
        return;
    }
    ReportRace(bench, lines, talikSeconds, sqliteSeconds);
}

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    const talik::NamedBenchmark races[] = {{"Csv/Import", talik::BM_Import}};
    return talik::RunRaces(argc, argv, races, {10000});
}
