// The postal code index: a lookup by code and by address on the mapped index, the index mapped
// afresh for each lookup (the editor's first use), a cold talikcli postal run as a user starts it,
// and the build's compiling of the index from Japan Post's files. The counter "bytes" is the
// index's size.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "postal/postalindex.h"

namespace talik {
namespace {

// Codes spread over the country: places, a city-wide code, a floor of a building, a large office.
const std::vector<std::string> Codes = {"1500001", "0600000", "9806101", "0608621", "4980000",
                                        "9040004", "3320012", "7300011", "8120011", "0100001"};

const std::vector<std::string> Addresses = {"東京都渋谷区神宮前１－２－３", "北海道札幌市中央区大通西５丁目",
                                            "宮城県仙台市青葉区中央アエル１階", "府中市宮西町２－２４",
                                            "大阪府大阪市北区梅田３－１－１"};

PostalIndex OpenIndex()
{
    std::string error;
    auto index = PostalIndex::Open(TALIK_POSTAL_INDEX, error);
    if (!index) {
        throw std::runtime_error(error);
    }
    return std::move(*index);
}

void ByCode(benchmark::State& state)
{
    PostalIndex index = OpenIndex();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.byCode(Codes[i++ % Codes.size()]));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(TALIK_POSTAL_INDEX));
}

void ByAddress(benchmark::State& state)
{
    PostalIndex index = OpenIndex();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.byAddress(Addresses[i++ % Addresses.size()]));
    }
}

void OpenAndLookUp(benchmark::State& state)
{
    for (auto _ : state) {
        PostalIndex index = OpenIndex();
        benchmark::DoNotOptimize(index.byCode("1500001"));
    }
}

void ColdTalikcli(benchmark::State& state)
{
    for (auto _ : state) {
        bool ok = true;
        state.SetIterationTime(SecondsOfRun({TALIKCLI_PATH, "postal", "1500001"}, ok));
        if (!ok) {
            state.SkipWithError("talikcli postal failed");
        }
    }
}

void BuildIndex(benchmark::State& state)
{
    std::string out = (std::filesystem::temp_directory_path() / "bench_postal.idx").string();
    for (auto _ : state) {
        bool ok = true;
        state.SetIterationTime(SecondsOfRun(
            {TALIK_POSTAL_GEN, out, TALIK_POSTAL_WORK "/KEN_ALL.CSV", TALIK_POSTAL_WORK "/JIGYOSYO.CSV"}, ok));
        if (!ok) {
            state.SkipWithError("the generator failed");
        }
    }
    std::filesystem::remove(out);
}

BENCHMARK(ByCode)->Unit(benchmark::kMicrosecond);
BENCHMARK(ByAddress)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenAndLookUp)->Unit(benchmark::kMicrosecond);
BENCHMARK(ColdTalikcli)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BuildIndex)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace talik

BENCHMARK_MAIN();
