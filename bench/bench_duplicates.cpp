// Finding the duplicates of a generated database: reading every record's keys and pairing the
// records that share one, as the review window and talikcli duplicates do. The generated names
// repeat (88 family names, 16 given names), so each reading block holds dozens of namesakes.
#include <benchmark/benchmark.h>

#include "bench/benchsupport.h"
#include "store/database.h"
#include "store/merge.h"

namespace talik {
namespace {

void BM_ProposedDuplicates(benchmark::State& bench, Workspace& workspace)
{
    BenchSession session(workspace, static_cast<int>(bench.range(0)));
    if (LoadTables(session.state) != LoadResult::Loaded) {
        bench.SkipWithError("the generated database did not load");
        return;
    }
    std::size_t pairs = 0;
    for (auto _ : bench) {
        std::optional<std::vector<DuplicatePair>> found = ProposedDuplicates(session.state);
        if (!found) {
            bench.SkipWithError("the database could not be read");
            return;
        }
        pairs = found->size();
    }
    bench.counters["pairs"] = static_cast<double>(pairs);
}

// The keys alone, already read: the pairing itself.
void BM_FindDuplicates(benchmark::State& bench, Workspace& workspace)
{
    BenchSession session(workspace, static_cast<int>(bench.range(0)));
    std::optional<std::vector<KeyedPerson>> people = ReadKeyedPeople(session.state);
    if (!people) {
        bench.SkipWithError("the database could not be read");
        return;
    }
    for (auto _ : bench) {
        benchmark::DoNotOptimize(FindDuplicates(*people, HighConfidenceScore));
    }
}

constexpr NamedBenchmark DuplicateBenchmarks[] = {
    {"ProposedDuplicates", BM_ProposedDuplicates},
    {"FindDuplicates", BM_FindDuplicates},
};

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    return talik::RunBenchmarks(argc, argv, talik::DuplicateBenchmarks, benchmark::kMillisecond);
}
