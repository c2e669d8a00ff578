// The search engine on generated databases: a one-field search as the user types it most, and the
// most work a scan can be given - every text field of every record searched to its end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "bench/benchsupport.h"
#include "listwin/appstate.h"
#include "search/search.h"
#include "store/database.h"
#include "store/fields.h"

namespace talik {
namespace {

using Conditions = std::vector<std::pair<std::string_view, std::string_view>>;

// One condition on each text field. Each begins like many stored values (the same town, area code,
// company, ...) but occurs in no record, so every field is searched to its end through many
// near-misses.
const Conditions NearMisses = {
    {"KanaName", "ﾔﾏﾀﾞ ﾀﾛｳｴﾓﾝ"},
    {"KanjiName", "山田　太郎右衛門"},
    {"Address1", "東京都世田谷区桜新町０"},
    {"PostCode1", "154-0016"},
    {"Tel1", "03-12345"},
    {"Fax1", "03-12345"},
    {"Address2", "大阪府大阪市北区梅田０"},
    {"PostCode2", "530-0002"},
    {"Tel2", "090-12345"},
    {"Fax2", "06-12345"},
    {"Company", "株式会社山川商事支店"},
    {"Department", "営業部第二課"},
    {"Remarks", "大学の同期生"},
    {"ClassCode", "友人知人"},
    {"EMail", "taro.yamada@example.org"},
};

// The program state of one benchmark, its tables loaded from a generated database.
struct Session : BenchSession
{
    Session(Workspace& workspace, int size) : BenchSession(workspace, size)
    {
        loaded = LoadTables(state) == LoadResult::Loaded;
    }

    // Puts the conditions into the record buffer, as the editor leaves them.
    void setConditions(const Conditions& conditions, bool allCheckItems)
    {
        ClearRecord(state.Rec);
        for (const auto& [name, value] : conditions) {
            SetFieldText(*FindField(name), state.Rec, state.Extra, value);
        }
        std::fill(std::begin(state.Rec.CheckItems), std::end(state.Rec.CheckItems), allCheckItems ? '1' : ' ');
    }

    bool loaded = false;
};

void Report(benchmark::State& bench, const Session& session, const SearchOutcome& outcome, int size)
{
    if (outcome.end != SearchEnd::Done || !session.ui.said().empty()) {
        bench.SkipWithError("the search did not scan the whole file quietly");
    }
    bench.counters["hits"] = outcome.hits;
    bench.SetItemsProcessed(bench.iterations() * RecordsForSize(size));
}

// A new search for a family name, about one record in ninety.
void BM_SearchOneField(benchmark::State& bench, Workspace& workspace)
{
    const int size = static_cast<int>(bench.range(0));
    Session session(workspace, size);
    if (!session.loaded) {
        bench.SkipWithError("LoadTables did not load");
        return;
    }
    session.setConditions({{"KanjiName", "山本"}}, false);
    SearchSession search;
    ListModel result;
    SearchOutcome outcome;
    for (auto _ : bench) {
        outcome = RunSearch(session.state, search, result);
    }
    Report(bench, session, outcome, size);
}

// An exclude search over a result that holds every record (as if no limit applied): no text
// condition holds anywhere, so all fifteen fields of every record are searched to their end; the
// condition of every check item then removes all but the records with none set (about 3 %), which
// keeps the result under its limit.
void BM_SearchFifteenFields(benchmark::State& bench, Workspace& workspace)
{
    const int size = static_cast<int>(bench.range(0));
    Session session(workspace, size);
    if (!session.loaded) {
        bench.SkipWithError("LoadTables did not load");
        return;
    }
    session.setConditions(NearMisses, true);
    SearchSession search;
    search.kind = SearchKind::Exclude;
    ListModel result;
    SearchOutcome outcome;
    for (auto _ : bench) {
        bench.PauseTiming();
        std::fill(search.HitFlag.begin() + FirstRecNo, search.HitFlag.end(), '1');
        bench.ResumeTiming();
        outcome = RunSearch(session.state, search, result);
    }
    Report(bench, session, outcome, size);
}

constexpr NamedBenchmark SearchBenchmarks[] = {
    {"Search/1Field", BM_SearchOneField},
    {"Search/15Fields", BM_SearchFifteenFields},
};

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    return talik::RunBenchmarks(argc, argv, talik::SearchBenchmarks, benchmark::kMillisecond);
}
