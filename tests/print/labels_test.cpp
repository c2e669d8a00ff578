// The label sheet: the grid a cell size makes, where a job starts and breaks into pages, what one
// cell holds, and which frames reach the paper.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/printwork.h"
#include "tests/support/printjobfixture.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/scripted.h"

namespace talik::test {
namespace {

constexpr double LabelTolerance = 1e-6;

std::string TwoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

class LabelPageTest : public test::PrintJobTest
{
protected:
    LabelPageTest()
    {
        job.target.preview = &preview;
        layout().AddrBoxWidth = 60;
        layout().AddrBoxHeight = 34;
    }

    PrintLayout& layout() { return state.settings.Layout; }

    // A sender line and `count` recipients whose postal codes name them: "R01", "R02", ...
    void addRecipients(int count)
    {
        table.entries.assign(1, PrintEntry{"000-0000", "送り主", "", "", "差出人!", "", ""});
        for (int n = 1; n <= count; ++n) {
            table.entries.push_back({"R" + TwoDigits(n), "", "", "", "名!", "様", "0"});
        }
        table.PrintLineCount = count + 1;
    }

    // One recipient with these fields, in the first cell.
    PrintEntry& addRecipient(PrintEntry entry)
    {
        addRecipients(0);
        table.entries.push_back(std::move(entry));
        table.PrintLineCount = 2;
        return table.entries.back();
    }

    void printing() { job.target.printer = &printer; }

    // The characters drawn on the printer at height y between x and x + width, joined in order.
    std::string lineAt(double y, double x = 0, double width = 1000) const
    {
        std::string line;
        for (const auto& call : printer.texts()) {
            if (std::abs(call.y - y) < LabelTolerance && call.x >= x - LabelTolerance &&
                call.x < x + width - LabelTolerance) {
                line += call.text;
            }
        }
        return line;
    }
    double xOf(const std::string& text) const { return printer.find(text).x; }

    // The recipient's postal code in the cell of row i and column j (0-based) of a 60 × 34 grid.
    std::string cellCode(int i, int j) const { return lineAt(6 + 34.0 * i, 6 + 60.0 * j, 60); }

    RecordingCanvas printer, preview;
};

// --- the grid -----------------------------------------------------------------------------------

TEST_F(LabelPageTest, Cells60By34Make3ColumnsOf8Rows)
{
    addRecipients(1);
    PrintLabelPage(job, 1);
    auto frames = preview.boxes();
    ASSERT_EQ(frames.size(), 24u);
    // The last frame: row 8, column 3, at 0.6 of its page position.
    EXPECT_NEAR(frames.back().x, (5 + 2 * 60) * 0.6, LabelTolerance);
    EXPECT_NEAR(frames.back().y, (5 + 7 * 34) * 0.6, LabelTolerance);
    EXPECT_NEAR(frames.back().w, 36, LabelTolerance);
    EXPECT_NEAR(frames.back().h, 20.4, LabelTolerance);
}

TEST_F(LabelPageTest, Cells50By25Make4ColumnsOf10Rows)
{
    layout().AddrBoxWidth = 50;
    layout().AddrBoxHeight = 25;
    addRecipients(1);
    PrintLabelPage(job, 1);
    EXPECT_EQ(preview.boxes().size(), 40u);
}

TEST_F(LabelPageTest, CellsBelowTheMinimumAreRaisedAndKeptRaised)
{
    layout().AddrBoxWidth = 40;
    layout().AddrBoxHeight = 20;
    addRecipients(1);
    PrintLabelPage(job, 1);
    EXPECT_EQ(layout().AddrBoxWidth, 50);
    EXPECT_EQ(layout().AddrBoxHeight, 25);
    auto frames = preview.boxes();
    ASSERT_EQ(frames.size(), 40u);
    EXPECT_NEAR(frames[1].x, 55 * 0.6, LabelTolerance); // the second cell starts 50 mm after the first
    EXPECT_NEAR(frames[0].w, 50 * 0.6, LabelTolerance);
}

TEST_F(LabelPageTest, GapsSeparateTheCellsAndCountInTheGrid)
{
    layout().AddrGapH = 5;
    layout().AddrGapV = 4;
    addRecipients(1);
    PrintLabelPage(job, 1);
    auto frames = preview.boxes();
    ASSERT_EQ(frames.size(), 21u); // (200 + 5) / 65 = 3 columns, (272 + 4) / 38 = 7 rows
    EXPECT_NEAR(frames[1].x, 70 * 0.6, LabelTolerance);
    EXPECT_NEAR(frames[3].y, 43 * 0.6, LabelTolerance);
}

TEST_F(LabelPageTest, AGapThatSwallowsTheCellIsAPrinterOrFontProblem)
{
    layout().AddrGapH = -60;
    addRecipients(1);
    PrintLabelPage(job, 1);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"プリンタ、または、フォント設定に問題があります。"});
    EXPECT_EQ(ui.busyDepth, 0);
}

// --- start cell and pages -------------------------------------------------------------------------

TEST_F(LabelPageTest, AFullPageOfRecipientsTakesOnePageAndOneMoreTakesTwo)
{
    addRecipients(24);
    printing();
    PrintLabelPage(job, 1);
    EXPECT_EQ(job.PrintPageCount, 1);
    EXPECT_EQ(job.pageLabel, "1 / 1");
    EXPECT_EQ(cellCode(7, 2), "R24");

    addRecipients(25);
    PrintLabelPage(job, 1);
    EXPECT_EQ(job.PrintPageCount, 2);
    EXPECT_EQ(job.pageLabel, "1 / 2");
}

TEST_F(LabelPageTest, StartCellRow3Column2PutsThe18thOf30RecipientsFirstOnPage2)
{
    addRecipients(30);
    job.label.startRow = 3;
    job.label.startColumn = 2;
    printing();
    PrintLabelPage(job, 1);
    EXPECT_EQ(job.PrintPageCount, 2); // (24 + 8 + 31 - 3) / 24
    EXPECT_EQ(cellCode(2, 0), "");
    EXPECT_EQ(cellCode(2, 1), "R01");
    EXPECT_EQ(cellCode(2, 2), "R02");
    EXPECT_EQ(cellCode(3, 0), "R03");
    EXPECT_EQ(cellCode(7, 2), "R17");
    EXPECT_TRUE(ui.shown.empty());

    printer.calls.clear();
    PrintLabelPage(job, 2);
    EXPECT_EQ(job.pageLabel, "2 / 2");
    EXPECT_EQ(cellCode(0, 0), "R18");
    EXPECT_EQ(cellCode(4, 0), "R30");
    EXPECT_EQ(cellCode(4, 1), "");
    EXPECT_EQ(job.label.startRow, 3); // the start cell stays for the next drawing
}

TEST_F(LabelPageTest, AStartRowBeyondTheGridIsToldAndResetToRow1)
{
    addRecipients(2);
    job.label.startRow = 9;
    job.label.startColumn = 2;
    printing();
    PrintLabelPage(job, 1);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "開始マス目の行設定が最大行数を越えています。\r開始マス目行を１に戻します。");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(job.label.startRow, 1);
    EXPECT_EQ(job.label.startColumn, 2);
    EXPECT_EQ(cellCode(0, 1), "R01");
}

TEST_F(LabelPageTest, AStartRowAndColumnBeyondTheGridAreBothToldRowFirst)
{
    addRecipients(2);
    job.label.startRow = 9;
    job.label.startColumn = 4;
    PrintLabelPage(job, 1);
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"開始マス目の行設定が最大行数を越えています。\r開始マス目行を１に戻します。",
                                        "開始マス目の列設定が最大列数を越えています。\r開始マス目列を１に戻します。"}));
    EXPECT_EQ(job.label.startRow, 1);
    EXPECT_EQ(job.label.startColumn, 1);
}

// --- frames ---------------------------------------------------------------------------------------

TEST_F(LabelPageTest, FramesReachThePaperOnlyWithTheOptionAndWithoutTheTextOffset)
{
    addRecipients(1);
    layout().AddrDispXT = 2;
    layout().AddrDispYT = 3;
    job.label.frames = true;
    PrintLabelPage(job, 1); // a preview: the printer stays untouched
    EXPECT_EQ(preview.calls.front().op, "clear");
    EXPECT_TRUE(printer.calls.empty());

    printing();
    job.label.frames = false;
    PrintLabelPage(job, 1);
    EXPECT_TRUE(printer.boxes().empty());
    EXPECT_EQ(preview.boxes().size(), 48u); // 24 again

    job.label.frames = true;
    PrintLabelPage(job, 1);
    auto frames = printer.boxes();
    ASSERT_EQ(frames.size(), 24u);
    EXPECT_NEAR(frames[4].x, 65, LabelTolerance); // row 2, column 2
    EXPECT_NEAR(frames[4].y, 39, LabelTolerance);
    EXPECT_NEAR(frames[4].w, 60, LabelTolerance);
    EXPECT_NEAR(printer.find("R").x, 8, LabelTolerance); // the text has its offset
    EXPECT_NEAR(printer.find("R").y, 9, LabelTolerance);
}

// --- one cell -------------------------------------------------------------------------------------

// Every character drawn lies inside the cell of row i and column j of a grid of `width` × `height`
// cells (text starts 1 mm inside the cell, which is drawn from 5 mm).
void ExpectInCell(const RecordingCanvas& canvas, double width, double height)
{
    for (const auto& call : canvas.texts()) {
        const double pitch = FontHeight(call.size);
        const double cellX = 5 + width * std::floor((call.x - 5) / width);
        const double cellY = 5 + height * std::floor((call.y - 5) / height);
        EXPECT_LE(call.x + pitch, cellX + width + LabelTolerance) << call.text;
        EXPECT_LE(call.y + pitch, cellY + height + LabelTolerance) << call.text;
    }
}

TEST_F(LabelPageTest, ACellStacksCodeAddressCompanyAndDepartmentAndCentresTheNameBelow)
{
    addRecipient({"100-0001", "東京都千代田区\\丸の内１", "株式会社", "営業部", "山田　太郎\\花子!", "様", "0"});
    printing();
    PrintLabelPage(job, 1);
    // Default sizes: code 9 points (3.24 mm), address 10 (3.6 mm), company and department 9, name 16.
    EXPECT_EQ(lineAt(6), "100-0001");
    EXPECT_NEAR(xOf("-"), 6 + 3 * 3.24, LabelTolerance);
    const double address = 6 + 3.24 + 0.5;
    EXPECT_EQ(lineAt(address), "東京都千代田区");
    EXPECT_NEAR(xOf("東"), 8, LabelTolerance);
    EXPECT_EQ(lineAt(address + 3.6), "丸の内１");
    EXPECT_NEAR(xOf("丸"), 8 + 3.6, LabelTolerance); // a later line one character in
    EXPECT_EQ(lineAt(address + 7.2), "株式会社");
    EXPECT_NEAR(xOf("株"), 10, LabelTolerance);
    EXPECT_EQ(lineAt(address + 7.2 + 3.24), "営業部");
    // The name in the 14.08 mm left, centred: two lines of 16 points (the joint name does not fit
    // on the first line), the second under the given name.
    const double nameTop = address + 7.2 + 2 * 3.24 + 0.5;
    const double pitch = 5.76;
    const double top = nameTop + (38 - nameTop - 2 * pitch) / 2;
    EXPECT_EQ(lineAt(top), "山田　太郎　様");
    EXPECT_EQ(lineAt(top + pitch), "花子　様");
    EXPECT_NEAR(xOf("山"), 6 + (58 - 7 * pitch) / 2, LabelTolerance);
    EXPECT_NEAR(xOf("花"), xOf("太"), LabelTolerance);
    EXPECT_NEAR(printer.find("山").size, 16, LabelTolerance);
    ExpectInCell(printer, 60, 34);
}

TEST_F(LabelPageTest, AJointNameFollowsOnTheSameLineWhenItFits)
{
    layout().AddrBoxWidth = 90;
    PrintEntry& entry = addRecipient({"", "", "", "", "山田　太郎!", "様", "0"});
    entry.JointNames = {{"", "花子", "様"}};
    printing();
    PrintLabelPage(job, 1);
    const double y = printer.find("山").y;
    EXPECT_EQ(lineAt(y), "山田　太郎　様　花子　様");

    layout().AddrJointNames = 0;
    entry.PrintName = "山田　太郎!";
    printer.calls.clear();
    PrintLabelPage(job, 1);
    EXPECT_THROW(printer.find("花"), std::exception);
}

TEST_F(LabelPageTest, TheNameIsPreparedOnceAndDrawnAlikeEachTime)
{
    PrintEntry& entry = addRecipient({"", "", "", "", "山田　太郎\\花子!", "様", "1"});
    printing();
    PrintLabelPage(job, 1);
    EXPECT_EQ(entry.PrintName, "山田　太郎　%花子　様");
    auto first = printer.texts();
    printer.calls.clear();
    PrintLabelPage(job, 1);
    ASSERT_EQ(printer.texts().size(), first.size());
    EXPECT_EQ(lineAt(first.front().y), "山田　太郎　"); // the honorific only after the last name
}

TEST_F(LabelPageTest, AnAddressBreaksBetweenItsPartsAndWidensHalfWidthText)
{
    layout().AddrBoxWidth = 50;
    addRecipient({"", "ｶﾞｰﾃﾞﾝ1-2あいうえおかきくけこさしすせそ", "", "", "名!", "", "0"});
    printing();
    PrintLabelPage(job, 1);
    const double address = 6 + 3.24 + 0.5;
    EXPECT_EQ(lineAt(address), "ガーデン１－２");
    // What follows the number is the building: a line of its own, one character in.
    EXPECT_NEAR(xOf("あ"), 8 + 3.6, LabelTolerance);
    EXPECT_NEAR(printer.find("あ").y, address + 3.6, LabelTolerance);
    ExpectInCell(printer, 50, 34);
}

TEST_F(LabelPageTest, ABuildingNameIsNeverSplit)
{
    addRecipient({"150-0002", "東京都渋谷区渋谷2-21-1 渋谷ヒカリエ", "", "", "山田　太郎!", "様", "0"});
    printing();
    PrintLabelPage(job, 1);
    const double y = printer.find("ヒ").y;
    EXPECT_EQ(lineAt(y), "渋谷ヒカリエ");
    EXPECT_EQ(lineAt(printer.find("２").y).find("２－２１－１") != std::string::npos, true);
}

TEST_F(LabelPageTest, ThePostalMarkComesFirstWhenAskedFor)
{
    addRecipient({"123-4567", "", "", "", "名!", "", "0"});
    job.label.postalMark = true;
    printing();
    PrintLabelPage(job, 1);
    EXPECT_EQ(lineAt(6), "〒123-4567");
    EXPECT_NEAR(xOf("1"), 6 + 3.24, LabelTolerance);
}

TEST_F(LabelPageTest, FontsComeFromItems10To14WithDefaultsThatAreNotStored)
{
    for (int item = 10; item <= 14; ++item) {
        layout().AddrFontName[static_cast<std::size_t>(item)] = "F" + std::to_string(item);
    }
    layout().AddrFontSize[11] = 10;
    addRecipient({"1", "住", "会", "部", "名!", "", "0"});
    printing();
    PrintLabelPage(job, 1);
    std::vector<std::pair<std::string, double>> fonts;
    for (const char* text : {"1", "住", "会", "部", "名"}) {
        fonts.emplace_back(printer.find(text).font, printer.find(text).size);
    }
    EXPECT_EQ(fonts, (std::vector<std::pair<std::string, double>>{
                         {"F10", 9}, {"F11", 10}, {"F12", 9}, {"F13", 9}, {"F14", 16}}));
    EXPECT_NEAR(preview.find("名").size, 16 * 0.6, LabelTolerance);
    EXPECT_EQ(layout().AddrFontSize[14], 0);
    EXPECT_NEAR(printer.find("会").y, 6 + 3.24 + 0.5 + 3.6, LabelTolerance); // below the 10-point address
}

} // namespace
} // namespace talik::test
