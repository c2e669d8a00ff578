// The address list: ten records a page read back from the main file, the heading with today's
// date, the seven lines of a record, and the print scale.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/currentrecord.h"
#include "print/engines.h"
#include "print/printwork.h"
#include "store/database.h"
#include "store/record.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

constexpr double Tolerance = 1e-6;

PrintEntry RecordNumberLine(std::string text)
{
    PrintEntry entry;
    entry.PrintPost = std::move(text);
    return entry;
}

class ListPageTest : public StoreTest
{
protected:
    ListPageTest() { job.target.preview = &preview; }
    void SetUp() override { load(); }

    // Saves a record with every printed field set; returns its number.
    std::int32_t addFullRecord()
    {
        ClearRecord(state.Rec);
        ClearRecord(state.Extra);
        SetText(state.Rec.KanaName, "ﾔﾏﾀﾞﾀﾛｳ");
        SetText(state.Rec.KanjiName, "山田太郎");
        SetLong(state.Rec.Birthday, 19650203);
        SetText(state.Rec.ClassCode, "A1");
        SetText(state.Rec.PostCode1, "100-0001");
        SetText(state.Rec.Address1, "東京都千代田区");
        SetText(state.Rec.Tel1, "03-1111-2222");
        SetText(state.Rec.Fax1, "03-1111-3333");
        SetText(state.Rec.PostCode2, "530-0001");
        SetText(state.Rec.Address2, "大阪市北区");
        SetText(state.Rec.Tel2, "06-4444-5555");
        SetText(state.Rec.Fax2, "06-4444-6666");
        SetText(state.Rec.Company, "山田商事");
        SetText(state.Rec.Department, "営業部");
        SetText(state.Rec.Remarks, "友人");
        state.CurRecNo = 0;
        state.EditStatus = 'N';
        EXPECT_TRUE(SaveCurrent(state));
        return state.CurRecNo;
    }

    // `count` records named 名前01, 名前02, ... read "ｱ"; their numbers.
    std::vector<std::int32_t> addRecords(int count)
    {
        std::vector<std::int32_t> numbers;
        for (int n = 1; n <= count; ++n) {
            numbers.push_back(addRecord("ｱ", (n < 10 ? "名前0" : "名前") + std::to_string(n)));
        }
        return numbers;
    }

    // The record-number form of the print table.
    void list(const std::vector<std::int32_t>& numbers)
    {
        table.entries.clear();
        for (std::int32_t recNo : numbers) {
            table.entries.push_back(RecordNumberLine(std::to_string(recNo)));
        }
        table.PrintLineCount = static_cast<int>(numbers.size());
    }

    void printing() { job.target.printer = &printer; }

    void expectAt(const std::string& text, double x, double y)
    {
        SCOPED_TRACE(text);
        const auto& call = printer.find(text);
        EXPECT_NEAR(call.x, x, Tolerance);
        EXPECT_NEAR(call.y, y, Tolerance);
    }

    PrintTable table;
    PrintJob job{state, table};
    RecordingCanvas printer, preview;
};

TEST_F(ListPageTest, TenRecordsMakeOnePageElevenMakeTwoAndOneMakesOne)
{
    auto numbers = addRecords(11);
    list({numbers.begin(), numbers.begin() + 10});
    PrintListPage(job, 1); // a preview: the printer stays untouched
    EXPECT_EQ(job.PrintPageCount, 1);
    EXPECT_EQ(preview.calls.front().op, "clear");
    EXPECT_TRUE(printer.calls.empty());

    list(numbers);
    printing();
    preview.calls.clear();
    PrintListPage(job, 2);
    EXPECT_EQ(job.PrintPageCount, 2);
    EXPECT_EQ(job.pageLabel, "2 / 2");
    expectAt("名　前：名前11（ｱ）", 16, 26); // the only record of page 2, in the first block
    EXPECT_THROW(printer.find("名　前：名前10（ｱ）"), std::runtime_error);
    EXPECT_EQ(printer.boxes().size(), 10u);
    ASSERT_EQ(preview.boxes().size(), 10u); // all ten, also on a page with one record
    EXPECT_NEAR(preview.boxes().at(9).y, (25 + 25 * 9) * 0.6, Tolerance);

    list({numbers[0]});
    PrintListPage(job, 1);
    EXPECT_EQ(job.PrintPageCount, 1);
    EXPECT_EQ(job.pageLabel, "1 / 1");
}

TEST_F(ListPageTest, TheHeadingShowsTheTitleTodayAndThePage)
{
    state.settings.Layout.AddrFontName[9] = "一覧の書体";
    list(addRecords(11));
    printing();
    PrintListPage(job, 1);
    const auto& title = printer.find("住　所　録　一　覧　表");
    EXPECT_EQ(title.size, 24);
    EXPECT_EQ(title.font, "一覧の書体");
    expectAt("住　所　録　一　覧　表", 55, 10);
    expectAt("作成日：2026年12月07日", 155, 21);
    EXPECT_EQ(printer.find("作成日：2026年12月07日").size, 10);
    expectAt("1/2", 190, 8);
}

TEST_F(ListPageTest, AFullRecordPrintsItsSevenLinesInsideItsBlock)
{
    auto plain = addRecord("ｱ", "先頭");
    list({plain, addFullRecord()});
    printing();
    PrintListPage(job, 1);
    // Seven lines share the 23 mm inside the block's rules, a quarter of a line apart.
    const double y = 25 + 25 + 1; // the second block
    const double pitch = 23.0 / 7;
    expectAt("名　前：山田太郎（ﾔﾏﾀﾞﾀﾛｳ）", 16, y);
    expectAt("生年月日：1965/02/03", 106, y);
    expectAt("分類コード：A1", 151, y);
    expectAt("住所１：〒100-0001", 16, y + pitch);
    expectAt("東京都千代田区", 51, y + pitch);
    expectAt("03-1111-2222", 46, y + 2 * pitch);
    expectAt("03-1111-3333", 96, y + 2 * pitch);
    expectAt("住所２：〒530-0001", 16, y + 3 * pitch);
    expectAt("06-4444-6666", 96, y + 4 * pitch);
    expectAt("会社名：山田商事　営業部", 16, y + 5 * pitch);
    expectAt("備　考：友人", 16, y + 6 * pitch);
    // The lines' font leaves the gap: its height is 0.8 of the pitch.
    EXPECT_NEAR(FontHeight(printer.find("備　考：友人").size), pitch / 1.25, 1e-9);
    for (const auto& call : printer.texts()) {
        if (call.y > 50) {
            EXPECT_LE(call.y + FontHeight(call.size), 75 + 1e-9) << call.text; // off the block's rule
        }
    }
}

TEST_F(ListPageTest, EmptyAddressesPrintNoLineAndTheOthersKeepTheirCaptions)
{
    list({addRecord("ｱ", "名前")});
    printing();
    PrintListPage(job, 1);
    std::vector<std::string> drawn;
    for (const auto& call : printer.texts()) {
        drawn.push_back(call.text);
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"住　所　録　一　覧　表", "作成日：2026年12月07日", "1/1",
                                               "名　前：名前（ｱ）", "会社名：　", "備　考："}));
    // Three lines at the full 10 points, a line and a quarter apart.
    EXPECT_EQ(printer.find("備　考：").size, 10);
    EXPECT_NEAR(printer.find("備　考：").y - printer.find("名　前：名前（ｱ）").y, 2 * 3.6 * 1.25, 1e-9);
}

TEST_F(ListPageTest, ALongRemarkStopsBeforeTheRightRule)
{
    ClearRecord(state.Rec);
    ClearRecord(state.Extra);
    SetText(state.Rec.KanaName, "ｱ");
    SetText(state.Rec.KanjiName, "名前");
    SetText(state.Rec.Remarks, std::string(60, 'x') + "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ");
    state.CurRecNo = 0;
    state.EditStatus = 'N';
    ASSERT_TRUE(SaveCurrent(state));
    list({state.CurRecNo});
    printing();
    PrintListPage(job, 1);
    const auto remark = printer.texts().back();
    EXPECT_TRUE(remark.text.starts_with("備　考：xxx"));
    EXPECT_LE(remark.x + printer.textWidth(remark.text), 195 + 1e-9);
    EXPECT_LT(remark.text.size(), std::string("備　考：").size() + 60 + 30 * 3);
}

TEST_F(ListPageTest, AtScale50PositionsAndSizesHalveButTheOffsetsDoNot)
{
    state.settings.AddrPrtScale = 0.5f;
    state.settings.AddrDispXL = 3;
    state.settings.AddrDispYL = 4;
    list({addRecord("ｱ", "名前")});
    printing();
    PrintListPage(job, 1);
    expectAt("住　所　録　一　覧　表", 55 * 0.5 + 3, 10 * 0.5 + 4);
    EXPECT_EQ(printer.find("住　所　録　一　覧　表").size, 12);
    expectAt("名　前：名前（ｱ）", 16 * 0.5 + 3, 26 * 0.5 + 4);
    EXPECT_EQ(printer.find("名　前：名前（ｱ）").size, 5);
    auto frame = printer.boxes().at(1);
    EXPECT_NEAR(frame.x, 15 * 0.5 + 3, Tolerance);
    EXPECT_NEAR(frame.y, 50 * 0.5 + 4, Tolerance);
    EXPECT_NEAR(frame.w, 90, Tolerance);
    EXPECT_NEAR(frame.h, 12.5, Tolerance);

    // The preview shrinks in proportion, without the offsets.
    const auto& title = preview.find("住　所　録　一　覧　表");
    EXPECT_NEAR(title.x, 55 * 0.3, Tolerance);
    EXPECT_NEAR(title.size, 24 * 0.3, Tolerance);
    EXPECT_NEAR(preview.boxes().at(1).y, 50 * 0.3, Tolerance);
    EXPECT_NEAR(preview.boxes().at(1).w, 180 * 0.3, Tolerance);
}

TEST_F(ListPageTest, TheSharedRecordBufferIsLeftAsTheCallerHadIt)
{
    auto shown = addRecord("ｲ", "表示中");
    list({addFullRecord()});
    state.CurRecNo = shown;
    SetText(state.Rec.KanjiName, "編集中");
    PrintListPage(job, 1);
    EXPECT_EQ(state.CurRecNo, shown);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "編集中");
}

TEST_F(ListPageTest, ARecordNumberThatCannotBeReadIsAPrinterOrFontProblem)
{
    list({addRecord("ｱ", "名前")});
    table.entries.push_back(RecordNumberLine("abc"));
    table.PrintLineCount = 2;
    PrintListPage(job, 1);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"プリンタ、または、フォント設定に問題があります。"});
    EXPECT_EQ(ui.shown.at(0).icon, MessageIcon::None);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_NO_THROW(preview.find("名　前：名前（ｱ）")); // the records before it were drawn
}

} // namespace
} // namespace talik::test
