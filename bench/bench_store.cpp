// The data store on generated databases: loading the tables, a plain read of the main file as the
// floor any load stands on, and saving a new and a changed record.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/dbgen.h"
#include "store/database.h"
#include "store/state.h"

namespace talik {
namespace {

constexpr unsigned DatabaseSeed = 20240601;
constexpr double DeletedShare = 0.02; // a database in use has some freed slots
constexpr std::size_t ReadPieceBytes = 4 << 20;

// Answers every question Yes and cancels prompts, but remembers that something wanted the user:
// a benchmark that made the store talk did not measure the path it meant to.
class SilentInteraction final : public Interaction
{
public:
    void message(const std::string& text, MessageIcon, const std::string&) override { m_said = text; }
    bool askYesNo(const std::string& text, MessageIcon, const std::string&) override
    {
        m_said = text;
        return true;
    }
    std::optional<std::string> promptPassword(const std::string&) override
    {
        m_said = "password prompt";
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void processEvents() override {}

    const std::string& said() const { return m_said; }

private:
    std::string m_said;
};

class BenchClock final : public Clock
{
public:
    LocalTime now() const override { return {2024, 6, 1, 12, 0, 0}; }
    void sleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    long long monotonicMs() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

// The largest database the store holds uses record numbers 2..64000, so "64000" means 63999
// records.
int RecordsForSize(int size)
{
    return std::min(size, static_cast<int>(MaxRecNo - 1));
}

// A temporary folder with one generated database per size, made when a benchmark first asks for
// it and removed with the workspace.
class Workspace
{
public:
    Workspace()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "talik-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_root = pattern;
    }
    ~Workspace() { std::filesystem::remove_all(m_root); }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string programFolder() const { return m_root + "/"; }

    // The data folder of the database of `size`, and what was written into it.
    const std::string& dataPath(int size) { return database(size).path; }
    const GeneratedDatabase& contents(int size) { return database(size).made; }

private:
    struct Database
    {
        std::string path;
        GeneratedDatabase made;
    };

    Database& database(int size)
    {
        auto found = m_databases.find(size);
        if (found == m_databases.end()) {
            std::string path = m_root + "/db" + std::to_string(size);
            std::filesystem::create_directory(path);
            GeneratedDatabase made = GenerateDatabase(path, 1, RecordsForSize(size), DatabaseSeed, DeletedShare);
            found = m_databases.emplace(size, Database{path, made}).first;
        }
        return found->second;
    }

    std::string m_root;
    std::map<int, Database> m_databases;
};

// The program state of one benchmark, pointed at a generated database.
struct Session
{
    Session(Workspace& workspace, int size)
    {
        state.DataPath = workspace.dataPath(size);
        state.DbNo = 1;
        state.ProgramFolder = workspace.programFolder();
        state.WritableFolder = workspace.programFolder();
    }

    bool load()
    {
        state.TablesLoaded = false;
        return LoadTables(state) == LoadResult::Loaded;
    }

    SilentInteraction ui;
    BenchClock clock;
    AppState state{ui, clock};
};

bool ReadRecordBytes(const std::string& path, std::size_t recLen, std::int32_t recNo, void* into)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto got = fd < 0 ? -1 : pread(fd, into, recLen, static_cast<off_t>((recNo - 1) * recLen));
    if (fd >= 0) {
        close(fd);
    }
    return got == static_cast<ssize_t>(recLen);
}

bool WriteRecordBytes(const std::string& path, std::size_t recLen, std::int32_t recNo, const void* from)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const auto put = fd < 0 ? -1 : pwrite(fd, from, recLen, static_cast<off_t>((recNo - 1) * recLen));
    if (fd >= 0) {
        close(fd);
    }
    return put == static_cast<ssize_t>(recLen);
}

void BM_LoadTables(benchmark::State& bench, Workspace& workspace)
{
    const int size = static_cast<int>(bench.range(0));
    Session session(workspace, size);
    for (auto _ : bench) {
        if (!session.load()) {
            bench.SkipWithError("LoadTables did not load");
            break;
        }
    }
    if (session.state.tables.TotalCount != workspace.contents(size).liveCount || !session.ui.said().empty()) {
        bench.SkipWithError("the load did not file every live record quietly");
    }
    bench.SetItemsProcessed(bench.iterations() * RecordsForSize(size));
}

void BM_ReadMainFile(benchmark::State& bench, Workspace& workspace)
{
    const std::string path = MainFileName(workspace.dataPath(static_cast<int>(bench.range(0))), 1);
    std::vector<char> piece(ReadPieceBytes);
    std::int64_t bytes = 0;
    for (auto _ : bench) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        off_t at = 0;
        for (ssize_t got; (got = pread(fd, piece.data(), piece.size(), at)) > 0; at += got) {
            benchmark::DoNotOptimize(piece.data());
        }
        close(fd);
        bytes += at;
    }
    bench.SetBytesProcessed(bytes);
}

// A new record takes the lowest freed slot; after each save the slot is freed again (untimed), so
// every iteration does the same work.
void BM_SaveNewRecord(benchmark::State& bench, Workspace& workspace)
{
    Session session(workspace, static_cast<int>(bench.range(0)));
    AppState& state = session.state;
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load");
        return;
    }
    const GeneratedDatabase& made = workspace.contents(static_cast<int>(bench.range(0)));
    std::int32_t slot = FirstRecNo;
    while (slot <= made.lastRecNo && state.tables.usedFlag(slot) == '1') {
        ++slot;
    }
    const std::string mainFile = MainFileName(state.DataPath, 1);
    const std::string extraFile = ExtraFileName(state.DataPath, 1);
    AddressRecord freedMain;
    ExtraRecord freedExtra;
    if (slot > made.lastRecNo || !ReadRecordBytes(mainFile, MainRecLen, slot, &freedMain) ||
        !ReadRecordBytes(extraFile, ExtraRecLen, slot, &freedExtra)) {
        bench.SkipWithError("no freed slot to re-use");
        return;
    }
    const char freedFlag = state.tables.usedFlag(slot);
    AddressGenerator people(1);
    AddressRecord person;
    ExtraRecord personExtra;
    people.next(person, personExtra);

    for (auto _ : bench) {
        state.CurRecNo = 0;
        state.EditStatus = 'N';
        state.Rec = person;
        state.Extra = personExtra;
        const bool saved = SaveCurrent(state);
        bench.PauseTiming();
        const bool restored = saved && state.CurRecNo == slot &&
                              WriteRecordBytes(mainFile, MainRecLen, slot, &freedMain) &&
                              WriteRecordBytes(extraFile, ExtraRecLen, slot, &freedExtra);
        state.tables.setUsed(slot, freedFlag);
        bench.ResumeTiming();
        if (!restored) {
            bench.SkipWithError("SaveCurrent did not re-use the lowest freed slot");
            break;
        }
    }
}

// A changed record is written back in place; two versions alternate.
void BM_SaveExistingRecord(benchmark::State& bench, Workspace& workspace)
{
    Session session(workspace, static_cast<int>(bench.range(0)));
    AppState& state = session.state;
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load");
        return;
    }
    std::int32_t recNo = workspace.contents(static_cast<int>(bench.range(0))).lastRecNo / 2;
    while (recNo < MaxRecNo && state.tables.usedFlag(recNo) != '1') {
        ++recNo;
    }
    state.CurRecNo = recNo;
    if (!ReadCurrent(state)) {
        bench.SkipWithError("ReadCurrent failed");
        return;
    }
    std::array<AddressRecord, 2> versions{state.Rec, state.Rec};
    SetText(versions[1].Remarks, "住所変更済み");

    std::size_t turn = 0;
    for (auto _ : bench) {
        state.CurRecNo = recNo;
        state.EditStatus = 'R';
        state.Rec = versions[turn++ % versions.size()];
        if (!SaveCurrent(state)) {
            bench.SkipWithError("SaveCurrent failed");
            break;
        }
    }
}

void RegisterStoreBenchmarks(Workspace& workspace)
{
    using Body = void (*)(benchmark::State&, Workspace&);
    const std::pair<const char*, Body> benchmarks[] = {
        {"LoadTables", BM_LoadTables},
        {"ReadMainFile", BM_ReadMainFile},
        {"SaveCurrent/NewRecord", BM_SaveNewRecord},
        {"SaveCurrent/ExistingRecord", BM_SaveExistingRecord},
    };
    for (const auto& [name, body] : benchmarks) {
        benchmark::RegisterBenchmark(name, [body, &workspace](benchmark::State& bench) { body(bench, workspace); })
            ->Arg(10000)
            ->Arg(64000)
            ->Unit(benchmark::kMicrosecond);
    }
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
    talik::RegisterStoreBenchmarks(workspace);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
