#pragma once
// What the benchmarks share: a user and a clock that never hold a benchmark up, a temporary
// workspace of generated databases, the program state of one benchmark, and the run each benchmark
// program makes.
#include <benchmark/benchmark.h>

#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bench/dbgen.h"
#include "listwin/appstate.h"
#include "platform/clock.h"
#include "platform/interaction.h"

namespace talik {

// Database n of a size is generated with seed DatabaseSeed + n - 1, so every run sees the same files.
inline constexpr unsigned DatabaseSeed = 20240601;
inline constexpr double DeletedShare = 0.02; // a database in use has some freed slots

// Answers every question Yes and cancels prompts and file dialogs, but remembers that something wanted the user:
// a benchmark that made the program talk did not measure the path it meant to.
class SilentInteraction final : public Interaction
{
public:
    void message(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool askYesNo(const std::string& text, MessageIcon icon, const std::string& title) override;
    std::optional<std::string> promptPassword(const std::string& dbDisplayName) override;
    std::optional<std::string> chooseOpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& filter) override;
    void setBusy(bool) override {}
    void processEvents() override {}

    // The last thing said to the user; empty while nothing was.
    const std::string& said() const { return m_said; }

private:
    std::string m_said;
};

// A fixed date and time, with real waiting and a real monotonic reading.
class BenchClock final : public Clock
{
public:
    LocalTime now() const override;
    void sleepMs(int ms) override;
    long long monotonicMs() const override;
};

// The records a database of `size` holds. The largest database the store holds uses record numbers
// 2..64000, so "64000" means 63999 records.
int RecordsForSize(int size);

// A temporary folder with one data folder per size, holding databases 1..N of that size. Each
// database is made when a benchmark first asks for it; everything is removed with the workspace.
class Workspace
{
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string programFolder() const { return m_root + "/"; }

    // The data folder of `size`, holding at least databases 1..`databases` (1..DbTotal); the
    // missing ones are generated first.
    const std::string& dataPath(int size, int databases = 1);
    // What was written into database `dbNo` of `size`, which is generated first if missing.
    const GeneratedDatabase& contents(int size, int dbNo = 1);

private:
    struct Folder
    {
        std::string path;
        std::deque<GeneratedDatabase> made; // database n at n - 1; growing keeps references valid
    };

    Folder& folder(int size, int databases);

    std::string m_root;
    std::map<int, Folder> m_folders;
};

// The program state of one benchmark, pointed at database 1 of `size` in the workspace, with
// databases 1..`databases` beside it. Nothing is loaded yet.
struct BenchSession
{
    BenchSession(Workspace& workspace, int size, int databases = 1);
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    SilentInteraction ui;
    BenchClock clock;
    AppState state{ui, clock};
};

// Runs a program (looked up on PATH) with an argument list, never a shell; standard input from
// /dev/null, standard output to `out`, standard error to /dev/null. Its exit code, or -1 when it
// did not start or end normally.
int RunProgram(const std::vector<std::string>& args, const std::string& out = "/dev/null");
// The number of lines of a file.
std::size_t LineCount(const std::string& file);
// The wall time of one RunProgram in seconds; `ok` turns false when the program failed.
double SecondsOfRun(const std::vector<std::string>& args, bool& ok, const std::string& out = "/dev/null");

// A benchmark of a database of the size its argument gives, made in the workspace.
using BenchmarkBody = void (*)(benchmark::State&, Workspace&);

struct NamedBenchmark
{
    const char* name;
    BenchmarkBody body;
};

// What a benchmark program's main does: reads the command line (returning 1 on one it does not
// know), registers each benchmark on databases of 10000 and 64000 records timed in `unit`, runs
// those the command line picks in a new workspace and returns 0.
int RunBenchmarks(int& argc, char** argv, std::span<const NamedBenchmark> benchmarks, benchmark::TimeUnit unit);

// The main of a program that races talikcli against the sqlite3 program, both run as child
// processes: as RunBenchmarks, on the databases of `sizes`, each iteration's time set by the
// benchmark itself (talikcli's), in milliseconds; talikcli reads its settings from the workspace,
// so the user's own settings play no part.
int RunRaces(int& argc, char** argv, std::span<const NamedBenchmark> races, std::initializer_list<int> sizes);
// A race's counters: the lines written, sqlite3's mean time in milliseconds and the ratio of
// talikcli's total time to sqlite3's.
void ReportRace(benchmark::State& bench, double lines, double talikSeconds, double sqliteSeconds);

} // namespace talik
