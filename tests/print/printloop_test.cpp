// The print loop shared by the print dialogs and talikcli: which cards and pages each button takes,
// one document with a sheet per card or page, stop requests, failures of the engine and of the end
// of the document.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/printloop.h"
#include "print/printwork.h"
#include "tests/support/printjobfixture.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/scripted.h"

namespace talik {
namespace {

using test::RecordingCanvas;

// A printer that cannot put text on paper.
class BrokenPrinter : public RecordingCanvas
{
public:
    void drawText(double, double, std::string_view) override { throw std::runtime_error("no paper"); }
};

class PrintLoopTest : public test::PrintJobTest
{
protected:
    // Two senders and `recipients` recipients.
    void postcards(int recipients)
    {
        table.entries.push_back({"100-0001", "東京都", "", "", "差出人!", "", ""});
        table.entries.push_back({"100-0002", "大阪府", "", "", "別の差出人!", "", ""});
        for (int i = 1; i <= recipients; ++i) {
            table.entries.push_back(
                {"123-4567", "住所" + std::to_string(i), "", "", "宛名" + std::to_string(i) + "!", "様", "0"});
        }
        table.PrintLineCount = static_cast<int>(table.entries.size());
        table.PrintPos = FirstPostcardLine;
        state.settings.Layout.PrintDirection = 1; // horizontal: each address is one text
    }
    // The addresses on the printer, in order.
    std::vector<std::string> printedAddresses(const RecordingCanvas& canvas) const
    {
        std::vector<std::string> names;
        for (const auto& call : canvas.texts()) {
            if (call.text.starts_with("住所")) {
                names.push_back(call.text);
            }
        }
        return names;
    }
};

TEST_F(PrintLoopTest, ThePostcardButtonsTakeEveryCardTheRestOrTheOneOnShow)
{
    postcards(10);
    table.PrintPos = 7;
    EXPECT_EQ(PostcardsFromStart(table).first, 3);
    EXPECT_EQ(PostcardsFromStart(table).last, 12);
    EXPECT_EQ(PostcardsFromShown(table).first, 7);
    EXPECT_EQ(PostcardsFromShown(table).size(), 6);
    EXPECT_EQ(PostcardShown(table).size(), 1);
    EXPECT_EQ(PostcardShown(table).first, 7);
}

TEST_F(PrintLoopTest, OneRecipientCanMoveNeitherWay)
{
    postcards(1);
    EXPECT_FALSE(CanPrev(job, PrintPostcards));
    EXPECT_FALSE(CanNext(job, PrintPostcards));
    table.entries.push_back(table.entries[2]);
    table.entries.push_back(table.entries[2]);
    table.PrintLineCount = 5;
    EXPECT_TRUE(CanNext(job, PrintPostcards));
    table.PrintPos = table.PrintLineCount;
    EXPECT_FALSE(CanNext(job, PrintPostcards));
    EXPECT_TRUE(CanPrev(job, PrintPostcards));
}

TEST_F(PrintLoopTest, PagesMoveBetweenTheFirstAndTheLast)
{
    job.PrintPageCount = 3;
    table.PrintPos = 1;
    EXPECT_FALSE(CanPrev(job, PrintList));
    EXPECT_TRUE(CanNext(job, PrintList));
    table.PrintPos = 3;
    EXPECT_FALSE(CanNext(job, PrintLabels));
    EXPECT_EQ(AllPages(job).size(), 3);
    EXPECT_EQ(PageShown(job).first, 3);
    EXPECT_EQ(PageShown(job).size(), 1);
}

TEST_F(PrintLoopTest, TheRestOfTheJobIsOneDocumentWithASheetPerCardAndTheCardOnShowStays)
{
    postcards(10);
    table.PrintPos = 7; // the fifth recipient
    RecordingCanvas paper;
    RecordingCanvas preview;
    job.target.preview = &preview;
    std::vector<int> progress;
    PrintLoopHooks hooks;
    hooks.progress = [&](int done, int total) { progress.push_back(done * 100 + total); };

    PrintRunResult result = RunPrintLoop(job, PrintPostcards, PostcardsFromShown(table), paper, hooks);

    EXPECT_EQ(result.printed, 6);
    EXPECT_EQ(result.failed, 0);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(result.documentEnded);
    EXPECT_EQ(paper.count("page"), 5);
    EXPECT_EQ(paper.count("end"), 1);
    EXPECT_EQ(paper.calls.back().op, "end");
    EXPECT_EQ(printedAddresses(paper).front(), "住所5");
    EXPECT_EQ(progress, (std::vector<int>{106, 206, 306, 406, 506, 606}));
    EXPECT_EQ(table.PrintPos, 7);
    EXPECT_EQ(job.target.printer, nullptr);
    EXPECT_GE(ui.eventsRun, 6);
}

TEST_F(PrintLoopTest, AStopRequestEndsAfterTheCurrentCardAndStillEndsTheDocument)
{
    postcards(50);
    RecordingCanvas paper;
    PrintLoopHooks hooks;
    int asked = 0;
    hooks.stopRequested = [&] { return ++asked == 3; };

    PrintRunResult result = RunPrintLoop(job, PrintPostcards, PostcardsFromStart(table), paper, hooks);

    EXPECT_EQ(result.printed, 3);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(paper.count("page"), 2);
    EXPECT_EQ(paper.count("end"), 1);
}

TEST_F(PrintLoopTest, ADocumentThePrinterDidNotTakeIsReported)
{
    postcards(2);
    RecordingCanvas paper;
    paper.endSucceeds = false;
    PrintRunResult result = RunPrintLoop(job, PrintPostcards, PostcardsFromStart(table), paper);
    EXPECT_EQ(result.printed, 2);
    EXPECT_FALSE(result.documentEnded);
}

TEST_F(PrintLoopTest, TwoFailuresInARowAskWhetherToStop)
{
    postcards(10);
    BrokenPrinter paper;
    ui.yesNoAnswers.push_back(true);

    PrintRunResult result = RunPrintLoop(job, PrintPostcards, PostcardsFromStart(table), paper);

    EXPECT_EQ(result.printed, 2);
    EXPECT_EQ(result.failed, 2);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(ui.messages().size(), 2u); // the engine's message for each card
    ASSERT_EQ(ui.shown.back().kind, "question");
    EXPECT_EQ(paper.count("end"), 1);
}

TEST_F(PrintLoopTest, AnsweringNoGoesOnAndAsksAgainOnlyAfterTwoMoreFailures)
{
    postcards(5);
    BrokenPrinter paper;
    ui.yesNoAnswers = {false, false};
    PrintRunResult result = RunPrintLoop(job, PrintPostcards, PostcardsFromStart(table), paper);
    EXPECT_EQ(result.printed, 5);
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(ui.yesNoAnswers.empty());
}

TEST_F(PrintLoopTest, LabelPagesAreCountedThenPrintedEach)
{
    table.entries.push_back({"100-0001", "東京都", "", "", "差出人!", "", ""});
    for (int i = 1; i <= 30; ++i) {
        table.entries.push_back({"123-4567", "住所" + std::to_string(i), "", "", "宛名!", "様", "0"});
    }
    table.PrintLineCount = 31;
    table.PrintPos = 1;
    state.settings.Layout.AddrBoxWidth = 60;
    state.settings.Layout.AddrBoxHeight = 34;
    job.PrintPageCount = CountPages(job, PrintLabels);
    ASSERT_GT(job.PrintPageCount, 1);
    RecordingCanvas paper;
    PrintRunResult result = RunPrintLoop(job, PrintLabels, AllPages(job), paper);
    EXPECT_EQ(result.printed, job.PrintPageCount);
    EXPECT_EQ(paper.count("page"), job.PrintPageCount - 1);
    EXPECT_EQ(paper.count("end"), 1);
    EXPECT_EQ(table.PrintPos, 1);
}

} // namespace
} // namespace talik
