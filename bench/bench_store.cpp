// The data store on generated databases: loading the tables, a plain read of the main file as the
// floor any load stands on, and saving a new and a changed record.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "bench/dbgen.h"
#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "store/database.h"

namespace talik {
namespace {

constexpr std::size_t ReadPieceBytes = 4 << 20;

// The program state of one benchmark, pointed at a generated database.
struct Session : BenchSession
{
    using BenchSession::BenchSession;

    bool load()
    {
        state.TablesLoaded = false;
        return LoadTables(state) == LoadResult::Loaded;
    }
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

constexpr NamedBenchmark StoreBenchmarks[] = {
    {"LoadTables", BM_LoadTables},
    {"ReadMainFile", BM_ReadMainFile},
    {"SaveCurrent/NewRecord", BM_SaveNewRecord},
    {"SaveCurrent/ExistingRecord", BM_SaveExistingRecord},
};

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    return talik::RunBenchmarks(argc, argv, talik::StoreBenchmarks, benchmark::kMicrosecond);
}
