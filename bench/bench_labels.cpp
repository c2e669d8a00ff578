// The label engine on a job of 3 000 recipients: every page of the sheet drawn on a canvas that
// only measures, so the time is the engine's own (breaking, fitting, placing), not a printer's.
// Beside it, the whole of talikcli print labels as the user runs it - a child process writing a
// PDF file - on a database of about 3 000 people: start, loading, layout, drawing and the file.
// Goal: at most 150 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "listwin/appstate.h"
#include "print/canvas.h"
#include "print/engines.h"
#include "print/printjob.h"

namespace talik {
namespace {

constexpr int Recipients = 3000;

// Takes every call and measures text as full-width characters of the font in force.
class MeasuringCanvas final : public Canvas
{
public:
    void setFont(const std::string& name, double sizePoints) override
    {
        m_name = name;
        m_size = sizePoints;
    }
    std::string fontName() const override { return m_name; }
    double fontSize() const override { return m_size; }
    double textWidth(std::string_view utf8) override { return static_cast<double>(utf8.size()) / 3 * m_size * 0.36; }
    void drawText(double, double, std::string_view utf8) override { drawn += utf8.size(); }
    void drawBox(double, double, double, double) override {}
    void newPage() override {}
    bool endDocument() override { return true; }
    void clear() override {}

    std::size_t drawn = 0;

private:
    std::string m_name;
    double m_size = 0;
};

const std::vector<std::string> Addresses = {
    "東京都渋谷区渋谷2-21-1 渋谷ヒカリエ", "石川県金沢市木ノ新保町1-1", "京都府京都市中京区河原町通三条上る恵比須町427",
    "大阪府大阪市北区梅田1-1-3大阪駅前第3ビル12F", "北海道札幌市中央区北一条西2丁目"};

PrintTable LabelJob()
{
    PrintTable table;
    table.entries.push_back({"000-0000", "送り主", "", "", "差出人!", "", ""});
    for (int n = 0; n < Recipients; ++n) {
        const auto& address = Addresses[static_cast<std::size_t>(n) % Addresses.size()];
        table.entries.push_back({"150-0002", address, n % 3 == 0 ? "株式会社山田商事" : "", n % 3 == 0 ? "営業部" : "",
                                 "山田　太郎\\花子!", "様", "0"});
    }
    table.PrintLineCount = Recipients + 1;
    return table;
}

void ThreeThousandLabels(benchmark::State& state)
{
    SilentInteraction ui;
    BenchClock clock;
    AppState app{ui, clock};
    app.settings.Layout.AddrBoxWidth = 70;
    app.settings.Layout.AddrBoxHeight = 38;
    MeasuringCanvas printer, preview;
    std::size_t drawn = 0;
    for (auto _ : state) {
        PrintTable table = LabelJob();
        PrintJob job{app, table};
        job.target = {&printer, &preview, 0.6};
        PrintLabelPage(job, 1);
        for (int page = 1; page <= job.PrintPageCount; ++page) {
            PrintLabelPage(job, page);
        }
        drawn = printer.drawn;
    }
    state.counters["bytes drawn"] = static_cast<double>(drawn);
}
BENCHMARK(ThreeThousandLabels)->Unit(benchmark::kMillisecond);

// 3 070 records of which 2 % are deleted: 3 009 people, a label each.
constexpr int PrintedDatabaseSize = 3070;

// The database both print runs read, made once; the settings of the workspace, not the user's own.
Workspace& PrintWorkspace()
{
    static Workspace workspace;
    setenv("TALIK_WINDIR", workspace.programFolder().c_str(), 1);
    return workspace;
}

// Times `print` writing `pdf` afresh each time; false when a run failed (the benchmark is skipped).
bool TimePrints(benchmark::State& state, const std::vector<std::string>& print, const std::string& pdf)
{
    bool ok = true;
    for (auto _ : state) {
        std::remove(pdf.c_str());
        state.SetIterationTime(SecondsOfRun(print, ok));
    }
    if (!ok) {
        state.SkipWithError("talikcli could not print the labels");
    }
    return ok;
}

void CliLabelsToPdf(benchmark::State& state)
{
    Workspace& workspace = PrintWorkspace();
    const std::string data = workspace.dataPath(PrintedDatabaseSize);
    const std::string pdf = workspace.programFolder() + "labels.pdf";
    if (TimePrints(state, {TALIKCLI_PATH, "--data", data, "print", "labels", "--out", pdf}, pdf)) {
        state.counters["labels"] = workspace.contents(PrintedDatabaseSize).liveCount;
    }
}
BENCHMARK(CliLabelsToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same run for one record alone: what a print costs before its labels (start,
// Qt, fonts, loading the list, the PDF's frame) - the floor under the run above.
void CliOneLabelToPdf(benchmark::State& state)
{
    Workspace& workspace = PrintWorkspace();
    const std::string data = workspace.dataPath(PrintedDatabaseSize);
    const std::string pdf = workspace.programFolder() + "label.pdf";
    // Record 2, the first of the file: live in the database the generator's seed makes.
    TimePrints(state, {TALIKCLI_PATH, "--data", data, "print", "labels", "--records", "2", "--out", pdf}, pdf);
}
BENCHMARK(CliOneLabelToPdf)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace talik

BENCHMARK_MAIN();
