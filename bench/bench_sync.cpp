// A sync with a real Radicale on a loopback port, in the three phases a user meets: the first
// upload of a whole database, a re-sync with nothing changed, and a re-sync after one change on each
// side. The server and the database are made afresh for each size, so the phases run once per size
// in this order; each phase's wall time is a counter, the iteration's time is the first upload.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <iterator>
#include <memory>

#include "bench/benchsupport.h"
#include "store/database.h"
#include "store/duplicates.h"
#include "store/record.h"
#include "store/recordwriter.h"
#include "sync/carddav.h"
#include "sync/syncrun.h"
#include "tests/sync/davserver.h"

namespace talik {
namespace {

using test::DavServer;

double SecondsOf(const std::function<SyncSummary()>& run, SyncSummary& summary)
{
    const auto start = std::chrono::steady_clock::now();
    summary = run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Changes the e-mail of local record `recNo`; false when it could not be read or written.
bool ChangeHere(AppState& state, std::int32_t recNo)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    if (!ReadRecord(state, recNo, rec, extra)) {
        return false;
    }
    SetText(rec.EMail, "changed.here@example.jp");
    return UpdateRecord(state, recNo, rec, extra);
}

// Rewrites one server card as another client would, with a new note; false when it could not.
bool ChangeThere(CardDavClient& client, const std::string& book)
{
    std::string error;
    std::optional<ServerListing> listing = client.list(book, "", error);
    if (!listing || listing->etags.empty()) {
        return false;
    }
    const std::string href = std::prev(listing->etags.end())->first;
    auto cards = client.fetch(book, {href}, error);
    if (!cards || !cards->contains(href)) {
        return false;
    }
    std::string text = cards->at(href).text;
    const std::size_t end = text.rfind("END:VCARD");
    if (end == std::string::npos) {
        return false;
    }
    text.insert(end, "NOTE:changed there\r\n");
    return client.update(book, href, cards->at(href).etag, text).ok();
}

void BM_SyncPhases(benchmark::State& bench, Workspace& workspace)
{
    const int size = static_cast<int>(bench.range(0));
    DavServer server(DavServer::Kind::Radicale);
    if (!server.running()) {
        bench.SkipWithError("Radicale could not be started");
        return;
    }
    BenchSession session(workspace, size);
    if (LoadTables(session.state) != LoadResult::Loaded) {
        bench.SkipWithError("the generated database did not load");
        return;
    }
    CardDavClient client(HttpAuth{server.user(), server.password(), ""});
    auto run = [&] { return RunSync(session.state, client, server.book(), SyncOptions{}); };
    SyncSummary summary;
    for (auto _ : bench) {
        const double upload = SecondsOf(run, summary);
        if (!summary.error.empty() || summary.serverAdded == 0) {
            bench.SkipWithError(("the first upload failed: " + summary.error).c_str());
            return;
        }
        bench.counters["cards"] = summary.serverAdded;
        const double unchanged = SecondsOf(run, summary);
        bench.counters["unchanged_s"] = unchanged;
        if (summary.serverUpdated + summary.localUpdated != 0) {
            bench.SkipWithError("a re-sync with nothing changed moved cards");
            return;
        }
        std::optional<std::vector<KeyedPerson>> people = ReadKeyedPeople(session.state);
        if (!people || people->empty() || !ChangeHere(session.state, people->front().recNo) ||
            !ChangeThere(client, server.book())) {
            bench.SkipWithError("the changes could not be made");
            return;
        }
        const double oneEach = SecondsOf(run, summary);
        bench.counters["one_change_each_way_s"] = oneEach;
        if (summary.serverUpdated != 1 || summary.localUpdated != 1) {
            bench.SkipWithError("one change each way did not move exactly one card each way");
            return;
        }
        bench.counters["upload_s"] = upload;
        bench.SetIterationTime(upload);
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
    for (int size : {100, 1000, 5000}) {
        benchmark::RegisterBenchmark("SyncPhases",
                                     [&workspace](benchmark::State& bench) { talik::BM_SyncPhases(bench, workspace); })
            ->Arg(size)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
