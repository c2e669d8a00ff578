#include "print/printloop.h"

#include <algorithm>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/printwork.h"

namespace talik {
namespace {

constexpr int FailuresBeforeAsking = 2;
constexpr const char* StopAfterFailures = "続けて印刷できませんでした。印刷を中止しますか？";

bool HorizontalPostcards(const PrintJob& job)
{
    return job.state.settings.Layout.PrintDirection != 0;
}

int LastPosition(const PrintJob& job, char kind)
{
    return kind == PrintPostcards ? job.table.PrintLineCount : job.PrintPageCount;
}

} // namespace

int FirstPosition(char kind)
{
    return kind == PrintPostcards ? FirstPostcardLine : 1;
}

PrintRange PostcardsFromStart(const PrintTable& table)
{
    return {FirstPostcardLine, table.PrintLineCount};
}

PrintRange PostcardsFromShown(const PrintTable& table)
{
    return {std::max(table.PrintPos, FirstPostcardLine), table.PrintLineCount};
}

PrintRange PostcardShown(const PrintTable& table)
{
    return {table.PrintPos, std::min(table.PrintPos, table.PrintLineCount)};
}

PrintRange AllPages(const PrintJob& job)
{
    return {1, job.PrintPageCount};
}

PrintRange PageShown(const PrintJob& job)
{
    return {job.table.PrintPos, std::min(job.table.PrintPos, job.PrintPageCount)};
}

bool CanPrev(const PrintJob& job, char kind)
{
    return job.table.PrintPos > FirstPosition(kind);
}

bool CanNext(const PrintJob& job, char kind)
{
    return job.table.PrintPos < LastPosition(job, kind);
}

bool DrawItem(PrintJob& job, char kind, int item)
{
    switch (kind) {
    case PrintPostcards:
        return HorizontalPostcards(job) ? PrintPostcardH(job, item) : PrintPostcardV(job, item);
    case PrintLabels:
        return PrintLabelPage(job, item);
    default:
        return PrintListPage(job, item);
    }
}

int CountPages(PrintJob& job, char kind)
{
    PrintTarget saved = job.target;
    job.target.printer = nullptr;
    job.target.preview = nullptr;
    DrawItem(job, kind, 1);
    job.target = saved;
    return job.PrintPageCount;
}

PrintRunResult RunPrintLoop(PrintJob& job, char kind, PrintRange range, Canvas& paper, const PrintLoopHooks& hooks)
{
    PrintRunResult result;
    const int shown = job.table.PrintPos;
    job.target.printer = &paper;
    int failuresInRow = 0;
    for (int item = range.first; item <= range.last; ++item) {
        if (item > range.first) {
            paper.newPage();
        }
        job.table.PrintPos = item;
        bool drawn = DrawItem(job, kind, item);
        ++result.printed;
        result.failed += drawn ? 0 : 1;
        failuresInRow = drawn ? 0 : failuresInRow + 1;
        if (hooks.progress) {
            hooks.progress(result.printed, range.size());
        }
        job.state.ui.processEvents();
        bool last = item == range.last;
        if (!last && failuresInRow >= FailuresBeforeAsking) {
            failuresInRow = 0;
            if (job.state.ui.askYesNo(StopAfterFailures, MessageIcon::Question, "確認")) {
                result.stopped = true;
                break;
            }
        }
        if (!last && hooks.stopRequested && hooks.stopRequested()) {
            result.stopped = true;
            break;
        }
    }
    result.documentEnded = paper.endDocument();
    job.target.printer = nullptr;
    job.table.PrintPos = shown;
    return result;
}

} // namespace talik
