// The list window on generated databases: filling the list with the largest tab, the same shown
// through the Qt model adapter in a tree view (in both list modes), and switching between two
// databases of one size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QTreeView>
#include <QWindow>

#include "bench/benchsupport.h"
#include "listwin/appstate.h"
#include "listwin/listviewmodel.h"
#include "listwin/listwindow.h"
#include "listwin/seasonlist.h"
#include "store/database.h"
#include "ui/fonts.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

constexpr int DatabasesPerSize = 2;  // SwitchDatabase goes back and forth between 1 and 2
constexpr int ViewWidthPixels = 800; // about the default list window
constexpr int ViewHeightPixels = 400;
constexpr int MaxExposePasses = 100;

// The program state of one benchmark with database 1 of a size loaded (database 2 beside it), the
// list sorted on the reading as the list window keeps it.
struct Session : BenchSession
{
    Session(Workspace& workspace, int size, ListMode mode = ListMode::Individual)
        : BenchSession(workspace, size, DatabasesPerSize)
    {
        state.ProfileFolder = workspace.programFolder();
        state.listMode = mode;
        state.MainList.sortOn(0);
    }

    bool load() { return LoadTables(state) == LoadResult::Loaded && ui.said().empty(); }

    // The rows a tab shows: one group's in individual mode, its row's groups' in row mode.
    int tabRows(int tab) const
    {
        return state.listMode == ListMode::Row ? state.tables.TabCount(state.Tabs[tab]) : state.tables.GroupCount(tab);
    }
    // The tab with the most rows: the one that takes longest to show.
    int largestTab() const
    {
        const int tabs = state.listMode == ListMode::Row ? RowTabTotal : GroupTotal;
        int largest = 0;
        for (int tab = 1; tab < tabs; ++tab) {
            if (tabRows(tab) > tabRows(largest)) {
                largest = tab;
            }
        }
        return largest;
    }
};

// The list window's list: the adapter in a tree view of the window's size and font.
struct ShownList
{
    explicit ShownList(AppState& state) : model(state.MainList)
    {
        QStringList headers;
        for (const ColumnHeader& header : ListColumnHeaders(state)) {
            headers << Qs(header.label);
        }
        model.setHeaders(headers);
        view.setUniformRowHeights(true);
        view.setRootIsDecorated(false);
        view.setFont(QFont("ＭＳ ゴシック", 10));
        view.setModel(&model);
        view.resize(ViewWidthPixels, ViewHeightPixels);
        view.show();
        // An unexposed window paints nothing: let the platform expose it first.
        for (int pass = 0; pass < MaxExposePasses && !exposed(); ++pass) {
            QApplication::processEvents();
        }
    }

    bool exposed() const { return view.windowHandle() != nullptr && view.windowHandle()->isExposed(); }

    // What the window does after ShowTab: the view takes the new rows, the first item becomes the
    // current one (unselected), and the visible rows are laid out and painted.
    void show()
    {
        model.refresh();
        view.selectionModel()->setCurrentIndex(model.index(0, 0), QItemSelectionModel::NoUpdate);
        view.doItemsLayout();
        view.viewport()->repaint();
    }

    ListViewModel model;
    QTreeView view;
};

void BM_ShowTab(benchmark::State& bench, Workspace& workspace)
{
    Session session(workspace, static_cast<int>(bench.range(0)));
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load quietly");
        return;
    }
    AppState& state = session.state;
    const int tab = session.largestTab();
    for (auto _ : bench) {
        state.CurrentTab = -1;
        ShowTab(state, tab);
    }
    if (static_cast<int>(state.MainList.size()) != session.tabRows(tab)) {
        bench.SkipWithError("ShowTab did not list every row of the tab");
    }
    bench.counters["rows"] = session.tabRows(tab);
}

void ShowTabInView(benchmark::State& bench, Workspace& workspace, ListMode mode)
{
    Session session(workspace, static_cast<int>(bench.range(0)), mode);
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load quietly");
        return;
    }
    AppState& state = session.state;
    const int tab = session.largestTab();
    ShownList shown(state);
    if (!shown.exposed()) {
        bench.SkipWithError("the view was never exposed, so it would paint nothing");
        return;
    }
    for (auto _ : bench) {
        state.CurrentTab = -1;
        ShowTab(state, tab);
        shown.show();
    }
    if (shown.model.rowCount() != session.tabRows(tab)) {
        bench.SkipWithError("the view did not get every row of the tab");
    }
    bench.counters["rows"] = session.tabRows(tab);
}

void BM_ShowTabInView(benchmark::State& bench, Workspace& workspace)
{
    ShowTabInView(bench, workspace, ListMode::Individual);
}

// A row tab shows up to seven groups at once: the largest list a tab can show.
void BM_ShowRowTabInView(benchmark::State& bench, Workspace& workspace)
{
    ShowTabInView(bench, workspace, ListMode::Row);
}

// What the season view adds to each fill of the largest tab: the card year's marks and every
// record's identity read afresh (one scan of the main file), a filter applied, and the letters of
// every row worked out.
void BM_SeasonRefresh(benchmark::State& bench, Workspace& workspace)
{
    Session session(workspace, static_cast<int>(bench.range(0)));
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load quietly");
        return;
    }
    AppState& state = session.state;
    const int tab = session.largestTab();
    state.season.filter = SeasonFilter::ToSend;
    std::size_t letters = 0;
    for (auto _ : bench) {
        state.CurrentTab = -1;
        ShowTab(state, tab);
        if (!LoadSeasonList(state)) {
            bench.SkipWithError("the main file could not be scanned");
            break;
        }
        ApplySeasonFilter(state.season, state.MainList);
        for (std::size_t i = 0; i < state.MainList.size(); ++i) {
            letters += SeasonLettersOfKey(state.season, state.MainList.keyAt(i)).size();
        }
    }
    benchmark::DoNotOptimize(letters);
    if (static_cast<int>(state.MainList.size()) != session.tabRows(tab)) {
        bench.SkipWithError("with no marks every row is this year's recipient");
    }
    bench.counters["rows"] = session.tabRows(tab);
}

// Each iteration opens the other database of the folder: a full reload of its tables.
void BM_SwitchDatabase(benchmark::State& bench, Workspace& workspace)
{
    Session session(workspace, static_cast<int>(bench.range(0)));
    if (!session.load()) {
        bench.SkipWithError("LoadTables did not load quietly");
        return;
    }
    AppState& state = session.state;
    for (auto _ : bench) {
        const int otherIndex = state.DbNo == 1 ? 1 : 0;
        if (SwitchDatabase(state, otherIndex) != SwitchOutcome::Switched || state.DbNo != otherIndex + 1) {
            bench.SkipWithError("SwitchDatabase did not open the other database");
            break;
        }
    }
    if (!session.ui.said().empty()) {
        bench.SkipWithError("the switch talked to the user");
    }
}

constexpr NamedBenchmark ListWindowBenchmarks[] = {
    {"ShowTab/LargestGroup", BM_ShowTab},
    {"ShowTab/LargestGroupInView", BM_ShowTabInView},
    {"ShowTab/LargestRowInView", BM_ShowRowTabInView},
    {"SwitchDatabase", BM_SwitchDatabase},
    {"SeasonRefresh/LargestGroup", BM_SeasonRefresh},
};

} // namespace
} // namespace talik

int main(int argc, char** argv)
{
    // The view needs an application but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    talik::InstallFontSubstitutions();
    return talik::RunBenchmarks(argc, argv, talik::ListWindowBenchmarks, benchmark::kMillisecond);
}
