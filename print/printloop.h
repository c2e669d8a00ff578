#pragma once
// The one print loop of the program: the print dialogs and talikcli print send the cards or pages of
// a job to the printer through it, one engine call per card or page.
#include <functional>

#include "print/printjob.h"

namespace talik {

// The cards (recipient lines, 3 and on) or pages (1 and on) a print covers, both ends included.
struct PrintRange
{
    int first = 0;
    int last = -1;

    int size() const { return last >= first ? last - first + 1 : 0; }
};

// The first postcard line (lines 1 and 2 hold the senders) and the first page.
inline constexpr int FirstPostcardLine = 3;
int FirstPosition(char kind);

// The ranges of the print buttons. Postcards: "先頭から連続印刷" every card, "以降を連続印刷" the
// card on show and the rest, "個別印刷" the card on show. Pages: every page, the page on show.
PrintRange PostcardsFromStart(const PrintTable& table);
PrintRange PostcardsFromShown(const PrintTable& table);
PrintRange PostcardShown(const PrintTable& table);
PrintRange AllPages(const PrintJob& job);
PrintRange PageShown(const PrintJob& job);

// Whether "＜前" and "次＞" can move from the card or page on show.
bool CanPrev(const PrintJob& job, char kind);
bool CanNext(const PrintJob& job, char kind);

// Draws card line or page `item` with the kind's engine on the job's targets; false when the engine
// could not draw it (the user was told).
bool DrawItem(PrintJob& job, char kind, int item);
// The number of pages of a label or list job (an engine pass that draws nowhere).
int CountPages(PrintJob& job, char kind);

// What the caller learns while the loop runs and what it may ask of it.
struct PrintLoopHooks
{
    // After each card or page: how many are done of how many.
    std::function<void(int done, int total)> progress;
    // Asked after each card or page (once pending events have run): true ends the run there.
    std::function<bool()> stopRequested;
};

struct PrintRunResult
{
    int printed = 0;            // cards or pages sent to the printer
    int failed = 0;             // of them, the ones the engine could not draw
    bool stopped = false;       // ended before the range was done (a stop request or the user's answer)
    bool documentEnded = false; // the printer or PDF took the document
};

// Draws every card or page of `range` on `paper` (and on the job's preview, when it has one), a new
// sheet between two, pending events let through after each; after two failures in a row the user is
// asked whether to stop. The document is ended once, whatever happened. The page on show
// (job.table.PrintPos) is left as it was.
PrintRunResult
RunPrintLoop(PrintJob& job, char kind, PrintRange range, Canvas& paper, const PrintLoopHooks& hooks = {});

} // namespace talik
