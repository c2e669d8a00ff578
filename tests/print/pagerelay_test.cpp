// A job drawn through the relay: the engine on a thread of its own, measuring on a canvas made
// there, the paper taking page after page on the caller's thread. The paper sees what it would see
// were the engine drawing on it; a paper or an engine that fails ends the job without hanging it.
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/pagerelay.h"
#include "print/printloop.h"
#include "print/printwork.h"
#include "tests/support/printjobfixture.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/scripted.h"

namespace talik {
namespace {

using test::RecordingCanvas;

// A printer whose paper runs out at the first text of the `failingPage`-th sheet.
class PaperRunningOut : public RecordingCanvas
{
public:
    explicit PaperRunningOut(int failingPage) : m_failingPage(failingPage) {}
    void newPage() override
    {
        ++m_page;
        RecordingCanvas::newPage();
    }
    void drawText(double x, double y, std::string_view text) override
    {
        if (m_page + 1 == m_failingPage) {
            throw std::runtime_error("out of paper");
        }
        RecordingCanvas::drawText(x, y, text);
    }

private:
    int m_failingPage;
    int m_page = 0;
};

// Each call as one comparable line, positions to the last bit.
std::vector<std::string> Lines(const RecordingCanvas& canvas)
{
    std::vector<std::string> lines;
    for (const auto& call : canvas.calls) {
        char numbers[200];
        std::snprintf(numbers, sizeof(numbers), " %a %a %a %a %a ", call.x, call.y, call.w, call.h, call.size);
        lines.push_back(call.op + numbers + call.font + " " + call.text);
    }
    return lines;
}

class PageRelayTest : public test::PrintJobTest
{
protected:
    // One sender for labels, two for postcards, then the recipients.
    void fill(char kind)
    {
        m_kind = kind;
        table.entries.push_back({"100-0001", "送り主", "", "", "差出人!", "", ""});
        if (kind == PrintPostcards) {
            table.entries.push_back({"100-0002", "大阪府", "", "", "別の差出人!", "", ""});
        }
        const char* addresses[] = {"東京都渋谷区渋谷2-21-1 渋谷ヒカリエ", "石川県金沢市木ノ新保町1-1",
                                   "京都府京都市中京区河原町通三条上る恵比須町427大阪駅前第3ビル12F"};
        for (int i = 0; i < 70; ++i) {
            table.entries.push_back({"150-0002", addresses[i % 3], i % 2 ? "株式会社山田商事" : "", "営業部",
                                     "山田　太郎" + std::to_string(i) + "\\花子!", "様", "0"});
        }
        table.PrintLineCount = static_cast<int>(table.entries.size());
        state.settings.Layout.AddrBoxWidth = 60;
        state.settings.Layout.AddrBoxHeight = 34;
        state.settings.Layout.PrintDirection = 1; // horizontal postcards measure their text
        job.label.frames = true;
    }

    PrintRunResult drawDirectly(Canvas& paper)
    {
        if (m_kind == PrintPostcards) {
            table.PrintPos = FirstPostcardLine;
            return RunPrintLoop(job, PrintPostcards, PostcardsFromStart(table), paper);
        }
        table.PrintPos = 1;
        job.PrintPageCount = CountPages(job, PrintLabels);
        return RunPrintLoop(job, PrintLabels, AllPages(job), paper);
    }

    // Through the relay; the measuring canvases take characters `measuredWidth` wide.
    PrintRunResult drawAlongside(Canvas& paper, double measuredWidth = 3.5)
    {
        PrintRunResult result;
        auto makeMeasure = [measuredWidth] {
            auto measure = std::make_unique<RecordingCanvas>();
            measure->charWidthMm = measuredWidth;
            return measure;
        };
        DrawAlongside(paper, makeMeasure, [&](Canvas& relay) { result = drawDirectly(relay); });
        return result;
    }

private:
    char m_kind = PrintLabels;
};

TEST_F(PageRelayTest, ThePaperGetsCallForCallWhatTheEngineDrawsOnASheetOfLabels)
{
    fill(PrintLabels);
    RecordingCanvas direct;
    PrintRunResult alone = drawDirectly(direct);
    ASSERT_GT(alone.printed, 2);
    ASSERT_GT(direct.count("box"), 0);

    RecordingCanvas paper;
    PrintRunResult relayed = drawAlongside(paper);

    EXPECT_EQ(Lines(paper), Lines(direct));
    EXPECT_EQ(relayed.printed, alone.printed);
    EXPECT_EQ(relayed.failed, 0);
    EXPECT_TRUE(relayed.documentEnded);
    EXPECT_EQ(paper.count("page"), alone.printed - 1);
    EXPECT_EQ(paper.count("end"), 1);
}

TEST_F(PageRelayTest, PostcardsAreLaidOutByTheMeasuringCanvasNotThePaper)
{
    fill(PrintPostcards);
    // Wide characters shrink and break the addresses: the paper must follow the measuring canvas's
    // widths, not its own.
    RecordingCanvas direct;
    direct.charWidthMm = 5.2;
    PrintRunResult alone = drawDirectly(direct);
    ASSERT_GT(alone.printed, 2);

    RecordingCanvas paper; // its own widths are the narrower default
    PrintRunResult relayed = drawAlongside(paper, 5.2);

    EXPECT_EQ(Lines(paper), Lines(direct));
    EXPECT_EQ(relayed.printed, alone.printed);
    RecordingCanvas narrow;
    drawDirectly(narrow);
    EXPECT_NE(Lines(narrow), Lines(direct)); // the widths told
}

TEST_F(PageRelayTest, TheMeasuringCanvasIsMadeUsedAndGoneOnTheEnginesThread)
{
    fill(PrintPostcards);
    struct Witness : RecordingCanvas
    {
        std::vector<std::thread::id>* seen = nullptr;
        double textWidth(std::string_view text) override
        {
            seen->push_back(std::this_thread::get_id());
            return RecordingCanvas::textWidth(text);
        }
        ~Witness() override { seen->push_back(std::this_thread::get_id()); }
    };
    std::vector<std::thread::id> seen;
    RecordingCanvas paper;
    DrawAlongside(
        paper,
        [&] {
            seen.push_back(std::this_thread::get_id());
            auto measure = std::make_unique<Witness>();
            measure->seen = &seen;
            return measure;
        },
        [&](Canvas& relay) { drawDirectly(relay); });
    ASSERT_GT(seen.size(), 3u);
    EXPECT_NE(seen.front(), std::this_thread::get_id());
    for (std::thread::id id : seen) {
        EXPECT_EQ(id, seen.front());
    }
}

TEST_F(PageRelayTest, APaperThatFailsEndsTheJobUnfinishedWithoutTheRestOfIt)
{
    fill(PrintLabels);
    PaperRunningOut direct(2);
    ASSERT_NO_THROW(drawDirectly(direct)); // the engine's own loop tells it and goes on
    PaperRunningOut paper(2);
    PrintRunResult result = drawAlongside(paper);
    EXPECT_FALSE(result.documentEnded);
    // Nothing after the sheet that failed, and the document was still closed.
    EXPECT_EQ(paper.count("page"), 1);
    EXPECT_EQ(paper.count("end"), 1);
}

TEST_F(PageRelayTest, APaperThatCannotEndAnswersSo)
{
    fill(PrintLabels);
    RecordingCanvas paper;
    paper.endSucceeds = false;
    EXPECT_FALSE(drawAlongside(paper).documentEnded);
}

TEST_F(PageRelayTest, AnEngineThatThrowsStopsBothThreadsAndTheErrorComesBack)
{
    RecordingCanvas paper;
    auto measure = [] { return std::make_unique<RecordingCanvas>(); };
    auto failing = [](Canvas& relay) {
        relay.setFont("Serif", 10);
        relay.drawText(1, 1, "一枚目");
        relay.newPage();
        relay.drawText(1, 1, "二枚目");
        throw std::logic_error("engine fault");
    };
    EXPECT_THROW(DrawAlongside(paper, measure, failing), std::logic_error);
    // What was finished reached the paper; the document was never ended.
    ASSERT_EQ(paper.texts().size(), 1u);
    EXPECT_EQ(paper.texts()[0].text, "一枚目");
    EXPECT_EQ(paper.count("end"), 0);
}

TEST_F(PageRelayTest, AMeasuringCanvasThatCannotBeMadeFailsTheJobWithoutTouchingThePaper)
{
    RecordingCanvas paper;
    auto cannot = []() -> std::unique_ptr<Canvas> { throw std::runtime_error("no fonts"); };
    EXPECT_THROW(DrawAlongside(paper, cannot, [](Canvas&) { FAIL() << "drawn without a measure"; }),
                 std::runtime_error);
    EXPECT_TRUE(paper.calls.empty());
}

} // namespace
} // namespace talik
