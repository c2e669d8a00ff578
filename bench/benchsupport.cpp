#include "bench/benchsupport.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace talik {

int RunProgram(const std::vector<std::string>& args, const std::string& out)
{
    std::vector<char*> argv;
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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

double SecondsOfRun(const std::vector<std::string>& args, bool& ok, const std::string& out)
{
    const auto start = std::chrono::steady_clock::now();
    ok = RunProgram(args, out) == 0 && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::size_t LineCount(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) {
        ++lines;
    }
    return lines;
}

void SilentInteraction::message(const std::string& text, MessageIcon, const std::string&)
{
    m_said = text;
}

bool SilentInteraction::askYesNo(const std::string& text, MessageIcon, const std::string&)
{
    m_said = text;
    return true;
}

std::optional<std::string> SilentInteraction::promptPassword(const std::string&)
{
    m_said = "password prompt";
    return std::nullopt;
}

std::optional<std::string> SilentInteraction::chooseOpenFile(const std::string& title, const std::string&)
{
    m_said = title;
    return std::nullopt;
}

std::optional<std::string> SilentInteraction::chooseSaveFile(const std::string& title, const std::string&)
{
    m_said = title;
    return std::nullopt;
}

LocalTime BenchClock::now() const
{
    return {2024, 6, 1, 12, 0, 0};
}

void BenchClock::sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

long long BenchClock::monotonicMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RecordsForSize(int size)
{
    return std::min(size, static_cast<int>(MaxRecNo - 1));
}

Workspace::Workspace()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "talik-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_root = pattern;
}

Workspace::~Workspace()
{
    std::error_code ignored; // a destructor must not throw
    std::filesystem::remove_all(m_root, ignored);
}

const std::string& Workspace::dataPath(int size, int databases)
{
    return folder(size, databases).path;
}

const GeneratedDatabase& Workspace::contents(int size, int dbNo)
{
    return folder(size, dbNo).made[static_cast<std::size_t>(dbNo - 1)];
}

Workspace::Folder& Workspace::folder(int size, int databases)
{
    if (databases < 1 || databases > DbTotal) {
        throw std::invalid_argument("a data folder holds databases 1 to " + std::to_string(DbTotal));
    }
    auto found = m_folders.find(size);
    if (found == m_folders.end()) {
        std::string path = m_root + "/db" + std::to_string(size);
        std::filesystem::create_directory(path);
        found = m_folders.emplace(size, Folder{path, {}}).first;
    }
    Folder& folder = found->second;
    while (static_cast<int>(folder.made.size()) < databases) {
        const int dbNo = static_cast<int>(folder.made.size()) + 1;
        folder.made.push_back(GenerateDatabase(folder.path, dbNo, RecordsForSize(size),
                                               DatabaseSeed + static_cast<unsigned>(dbNo - 1), DeletedShare));
    }
    return folder;
}

BenchSession::BenchSession(Workspace& workspace, int size, int databases)
{
    state.DataPath = workspace.dataPath(size, databases);
    state.DbNo = 1;
    state.ProgramFolder = workspace.programFolder();
    state.WritableFolder = workspace.programFolder();
}

namespace {

int RunRegistered(int& argc,
                  char** argv,
                  std::span<const NamedBenchmark> benchmarks,
                  const std::function<void(benchmark::internal::Benchmark*)>& shape,
                  const std::function<void(Workspace&)>& prepare = {})
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Workspace workspace;
    if (prepare) {
        prepare(workspace);
    }
    for (const auto& [name, body] : benchmarks) {
        shape(benchmark::RegisterBenchmark(name,
                                           [body, &workspace](benchmark::State& bench) { body(bench, workspace); }));
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace

int RunBenchmarks(int& argc, char** argv, std::span<const NamedBenchmark> benchmarks, benchmark::TimeUnit unit)
{
    return RunRegistered(argc, argv, benchmarks, [unit](benchmark::internal::Benchmark* registered) {
        registered->Arg(10000)->Arg(64000)->Unit(unit);
    });
}

int RunRaces(int& argc, char** argv, std::span<const NamedBenchmark> races, std::initializer_list<int> sizes)
{
    const std::vector<int> args(sizes);
    return RunRegistered(
        argc, argv, races,
        [&args](benchmark::internal::Benchmark* registered) {
            for (int size : args) {
                registered->Arg(size);
            }
            registered->UseManualTime()->Unit(benchmark::kMillisecond);
        },
        [](Workspace& workspace) { setenv("TALIK_WINDIR", workspace.programFolder().c_str(), 1); });
}

void ReportRace(benchmark::State& bench, double lines, double talikSeconds, double sqliteSeconds)
{
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["lines"] = lines;
    bench.counters["sqlite3_ms"] = sqliteSeconds / runs * 1000;
    bench.counters["ratio"] = talikSeconds / sqliteSeconds;
}

} // namespace talik
