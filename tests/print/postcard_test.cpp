#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/jointnames.h"
#include "print/postcardlayout.h"
#include "print/printwork.h"
#include "print/textfit.h"
#include "tests/support/printjobfixture.h"
#include "tests/support/recordingcanvas.h"
#include "tests/support/scripted.h"

namespace talik {
namespace {

using test::CanvasCall;
using test::RecordingCanvas;

constexpr double Near = 1e-6;
// Character pitches of the default sizes (points × 0.36 mm).
constexpr double AddressPitch = 7.2; // 20 pt
constexpr double NamePitch = 11.52;  // 32 pt

PrintEntry Sender(std::string post, std::string address, std::string name)
{
    return {std::move(post), std::move(address), "", "", std::move(name) + "!", "", ""};
}

PrintEntry Recipient(std::string address, std::string name, std::string flags = "0")
{
    return {"123-4567", std::move(address), "", "", std::move(name) + "!", "様", std::move(flags)};
}

// The texts drawn in print font `item` (its vertical variant included), in order.
std::vector<CanvasCall> InFont(const RecordingCanvas& canvas, int item)
{
    const std::string name = "F" + std::to_string(item);
    std::vector<CanvasCall> found;
    for (const CanvasCall& call : canvas.texts()) {
        if (call.font == name || call.font == "@" + name) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<std::string> Texts(const std::vector<CanvasCall>& calls)
{
    std::vector<std::string> texts;
    for (const CanvasCall& call : calls) {
        texts.push_back(call.text);
    }
    return texts;
}

void ExpectAt(const CanvasCall& call, double x, double y)
{
    EXPECT_NEAR(call.x, x, Near) << call.text;
    EXPECT_NEAR(call.y, y, Near) << call.text;
}

class PostcardTest : public test::PrintJobTest
{
protected:
    RecordingCanvas printer;
    RecordingCanvas preview;
    PrintLayout& layout = state.settings.Layout;

    void SetUp() override
    {
        // One name per font, so each section's texts can be told apart.
        for (int i = 0; i < PrintItemTotal; ++i) {
            layout.AddrFontName[i] = "F" + std::to_string(i);
        }
        job.target = {&printer, &preview, 0.6};
        table.entries = {Sender("111-2222", "送り主一の住所", "送り主一"),
                         Sender("333-4444", "送り主二の住所", "送り主二"), Recipient("東京都", "山田　太郎")};
        table.PrintLineCount = 3;
    }

    PrintEntry& recipient() { return table.entries[2]; }
};

TEST_F(PostcardTest, SevenDigitCodeFillsTheSevenBoxesWithTheCharacterOffset)
{
    layout.AddrNum7 = 1;
    layout.AddrDispX = 1.5f;
    layout.AddrDispY = -0.5f;
    layout.AddrDispXT = 20; // the offset of runs of text, not of postal codes
    ASSERT_TRUE(PrintPostcardH(job, 3));

    const auto digits = InFont(printer, 0);
    ASSERT_EQ(Texts(digits), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    const double boxes[] = {45.0, 51.8, 58.6, 66.4, 73.2, 80.0, 86.8};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        ExpectAt(digits[i], boxes[i] + 1.5, 12.0);
        EXPECT_EQ(digits[i].size, 16);
    }
    // The preview has no offset and is drawn at its scale.
    ExpectAt(InFont(preview, 0).front(), 45.0 * 0.6, 12.5 * 0.6);
}

TEST_F(PostcardTest, FiveDigitBoxesTakeOnlyTheFirstFiveDigits)
{
    layout.AddrNum7 = 0; // as older settings files keep it
    ASSERT_TRUE(PrintPostcardV(job, 3));

    const auto digits = InFont(printer, 0);
    ASSERT_EQ(Texts(digits), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    const double boxes[] = {49.0, 58.5, 68.0, 79.0, 88.5};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        ExpectAt(digits[i], boxes[i], 13.0);
    }
}

TEST_F(PostcardTest, VerticalAddressColumnsEndBefore125mmAndLaterOnesStartOneCharacterDown)
{
    recipient().PrintAddress = "あいうえおかきくけこさしすせそた￥ち";
    ASSERT_TRUE(PrintPostcardV(job, 3));

    const auto chars = InFont(printer, 1);
    ASSERT_EQ(chars.size(), 17u);
    for (int i = 0; i < 13; ++i) {
        ExpectAt(chars[i], 87, 25 + i * AddressPitch);
    }
    EXPECT_EQ(chars[13].text, "せ");
    ExpectAt(chars[13], 87 - AddressPitch, 25 + AddressPitch);
    EXPECT_EQ(chars[16].text, "ち");
    ExpectAt(chars[16], 87 - 2 * AddressPitch, 25 + AddressPitch);
    for (const CanvasCall& ch : chars) {
        EXPECT_LE(ch.y + AddressPitch, 125 + Near) << ch.text;
    }
}

TEST_F(PostcardTest, HorizontalAddressBreaksBetweenItsPartsBefore94mm)
{
    layout.L_AddrH.left = 17.5f; // each character is 7 mm wide on the card: ten fit
    recipient().PrintAddress = "石川県金沢市木ノ新保町1-1";
    ASSERT_TRUE(PrintPostcardH(job, 3));

    // Never "石川県金沢市木ノ新保町1" and "-1": the town and its number go on together, one in.
    const auto lines = InFont(printer, 1);
    ASSERT_EQ(Texts(lines), (std::vector<std::string>{"石川県金沢市", "木ノ新保町1-1"}));
    ExpectAt(lines[0], 17.5, 50);
    ExpectAt(lines[1], 17.5 + AddressPitch, 50 + AddressPitch);
}

TEST_F(PostcardTest, TheBuildingTakesALineOfItsOwnAndABackslashStillBreaks)
{
    recipient().PrintAddress = "東京都渋谷区渋谷2-21-1 渋谷ヒカリエ";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"東京都渋谷区", "渋谷2-21-1", "渋谷ヒカリエ"}));

    printer.calls.clear();
    recipient().PrintAddress = "港区\\芝";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"港区", "芝"}));
}

TEST_F(PostcardTest, HorizontalFamilyNameStandsUnderTheGivenNameWithTheHonorific)
{
    recipient().PrintName = "山田　太郎\\花子!";
    ASSERT_TRUE(PrintPostcardH(job, 3));

    // Seven characters of 32 pt (11.2 mm each) pass 94 mm: the name shrinks to 28 pt (9.8 mm), its
    // line keeping its centre; "山田　" is then 29.4 mm and the given names start there.
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田　太郎　様", "花子　様"}));
    const double pitch = FontHeight(28);
    const double top = 70 + (NamePitch - pitch) / 2;
    ExpectAt(printer.find("山田　太郎　様"), 25, top);
    EXPECT_EQ(printer.find("山田　太郎　様").size, 28);
    ExpectAt(printer.find("花子　様"), 25 + 29.4, top + pitch);

    // The prepared name is kept: the card drawn again is the same.
    EXPECT_EQ(recipient().PrintName, "山田　太郎　様%花子　様");
    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田　太郎　様", "花子　様"}));
}

TEST_F(PostcardTest, HonorificOnlyAfterTheLastName)
{
    recipient().PrintName = "山田　太郎\\花子!";
    recipient().PrintFlags = "1";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田　太郎　", "花子　様"}));
    const double pitch = FontHeight(28);
    ExpectAt(printer.find("花子　様"), 25 + 29.4, 70 + (NamePitch - pitch) / 2 + pitch);
}

TEST_F(PostcardTest, VerticalFamilyNameStandsBesideTheGivenName)
{
    recipient().PrintName = "山田　太郎\\花子!";
    ASSERT_TRUE(PrintPostcardV(job, 3));

    const auto chars = InFont(printer, 4);
    ASSERT_EQ(Texts(chars),
              (std::vector<std::string>{"山", "田", "　", "太", "郎", "　", "様", "花", "子", "　", "様"}));
    ExpectAt(chars[0], 49, 35);
    ExpectAt(chars[6], 49, 35 + 6 * NamePitch);
    ExpectAt(chars[7], 49 - NamePitch, 35 + 3 * NamePitch);
}

TEST_F(PostcardTest, UnrelatedNameStartsAtTheSectionStart)
{
    recipient().PrintName = "山田太郎@鈴木一郎!";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田太郎　様", "鈴木一郎　様"}));
    ExpectAt(printer.find("鈴木一郎　様"), 25, 70 + NamePitch);

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardV(job, 3));
    ExpectAt(printer.find("鈴"), 49 - NamePitch, 35);
}

TEST_F(PostcardTest, KanjiNumeralsInTextButNotInPostalCodes)
{
    const std::vector<std::string> codes{"1", "2", "3", "4", "5", "6", "7", "1", "1", "1", "2", "2", "2", "2"};
    layout.AddrNumChange = 1;
    layout.AddrFromSet = 1;
    recipient().PrintAddress = "港区1-２ー3";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"港区一－二－三"}));
    EXPECT_EQ(Texts(InFont(printer, 0)), codes);

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardV(job, 3));
    const auto chars = InFont(printer, 1);
    EXPECT_EQ(Texts(chars), (std::vector<std::string>{"港", "区", "一", "－", "二", "－", "三"}));
    // A dash between digits stands upright as the vertical stroke.
    EXPECT_EQ(chars[3].font, "@F1");
    EXPECT_EQ(chars[5].font, "@F1");
    EXPECT_EQ(Texts(InFont(printer, 0)), codes);
}

TEST_F(PostcardTest, NumeralStylesAndTheLongVowelMarkInVerticalText)
{
    layout.AddrNumChange = 1;
    layout.AddrNumStyle = 2;
    recipient().PrintAddress = "港区芝1-2-3 コーポ芝";
    ASSERT_TRUE(PrintPostcardV(job, 3));
    std::string column;
    for (const CanvasCall& ch : InFont(printer, 1)) {
        column += ch.text;
    }
    EXPECT_EQ(column, "港区芝一丁目二番三号コーポ芝");
    // コーポ keeps its long-vowel mark (turned by the vertical font), never a dash or 一.
    const CanvasCall& mark = printer.find("ー");
    EXPECT_EQ(mark.font, "@F1");

    printer.calls.clear();
    layout.AddrNumStyle = 1;
    recipient().PrintAddress = "芝23";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"芝二十三"}));

    // Without the option horizontal text keeps its Arabic digits.
    printer.calls.clear();
    layout.AddrNumChange = 0;
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"芝23"}));
}

TEST_F(PostcardTest, VerticalHalfWidthKanaIsPrintedFullWidthWithItsVoicingMark)
{
    recipient().PrintAddress = "ｶﾞｲﾄﾞ ﾋﾟｱ";
    ASSERT_TRUE(PrintPostcardV(job, 3));
    // The part after the blank is a building: a column of its own, one character down.
    const auto chars = InFont(printer, 1);
    EXPECT_EQ(Texts(chars), (std::vector<std::string>{"ガ", "イ", "ド", "ピ", "ア"}));
    ExpectAt(chars[3], 87 - AddressPitch, 25 + AddressPitch);
}

TEST_F(PostcardTest, SenderFromEntryTwoWhenTheTensDigitSaysSo)
{
    layout.AddrFromSet = 1;
    recipient().PrintFlags = "10";
    ASSERT_TRUE(PrintPostcardH(job, 3));

    EXPECT_EQ(Texts(InFont(printer, 5)), (std::vector<std::string>{"送り主二の住所"}));
    ExpectAt(printer.find("送り主二の住所"), 30, 90);
    // The name (no honorific) sits indented below the address line.
    EXPECT_EQ(Texts(InFont(printer, 6)), (std::vector<std::string>{"送り主二"}));
    ExpectAt(printer.find("送り主二"), 40, 90 + 5.04 + 2);
    EXPECT_EQ(table.entries[1].PrintName, "送り主二");
    // The sender's code at 0.8 of the code font, 4 mm apart and 1 mm more after the third digit.
    const auto code = InFont(printer, 0);
    ASSERT_EQ(code.size(), 14u);
    const double xs[] = {6.5, 10.5, 14.5, 19.5, 23.5, 27.5, 31.5};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(code[7 + i].text, i < 3 ? "3" : "4");
        ExpectAt(code[7 + i], xs[i], 124);
        EXPECT_NEAR(code[7 + i].size, 12.8, Near);
    }

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardV(job, 3));
    const auto name = InFont(printer, 6);
    ASSERT_EQ(Texts(name), (std::vector<std::string>{"送", "り", "主", "二"}));
    ExpectAt(name[0], 23 - 1.3 * 5.76, 70); // a column left of the address, 10 mm lower
}

// Every text drawn on the printer lies on the 100 × 148 mm card (each character a square of its
// font's pitch, a run as wide as the recording canvas measures it).
void ExpectOnTheCard(const RecordingCanvas& canvas, bool vertical)
{
    for (const CanvasCall& call : canvas.texts()) {
        const double pitch = FontHeight(call.size);
        const double width = vertical ? pitch : 0.35 * call.size * static_cast<double>(SplitChars(call.text).size());
        EXPECT_GE(call.x, 0) << call.text;
        EXPECT_GE(call.y, 0) << call.text;
        EXPECT_LE(call.x + width, PostcardWidth + Near) << call.text;
        EXPECT_LE(call.y + pitch, PostcardHeight + Near) << call.text;
    }
}

// The first text drawn in the name font whose text starts with `start`.
CanvasCall NameRun(const RecordingCanvas& canvas, const std::string& start)
{
    for (const CanvasCall& call : canvas.texts()) {
        if ((call.font == "F4" || call.font == "@F4") && call.text.starts_with(start)) {
            return call;
        }
    }
    throw std::runtime_error("no name run starts with " + start);
}

TEST_F(PostcardTest, AFamilyOfFourFitsOnTheCardInBothWritings)
{
    layout.AddrFromSet = 1;
    recipient().PrintAddress = "京都府京都市中京区河原町通三条上る恵比須町427 河原町第一ビル501号室";
    recipient().PrintName = "山田　太郎!";
    recipient().JointNames = {{"", "花子", "様"}, {"山田", "健太", "くん"}, {"", "さくら", "ちゃん"}};

    ASSERT_TRUE(PrintPostcardV(job, 3));
    ExpectOnTheCard(printer, true);
    const auto name = InFont(printer, 4);
    std::vector<double> columns;
    for (const CanvasCall& ch : name) {
        if (std::find(columns.begin(), columns.end(), ch.x) == columns.end()) {
            columns.push_back(ch.x);
        }
        EXPECT_EQ(ch.size, name.front().size);
    }
    ASSERT_EQ(columns.size(), 4u);
    const double pitch = FontHeight(name.front().size);
    // Each given name's top in line with the main given name, each honorific with the main one.
    const double givenTop = name.front().y + 3 * pitch;
    for (const std::string given : {"太", "花", "健", "さ"}) {
        EXPECT_NEAR(printer.find(given).y, givenTop, Near) << given;
    }
    const double honorificTop = printer.find("ち").y;
    EXPECT_NEAR(honorificTop, givenTop + 4 * pitch, Near); // after "さくら　"
    for (const std::string honorific : {"様", "く"}) {
        EXPECT_NEAR(printer.find(honorific).y, honorificTop, Near) << honorific;
    }
    // The name keeps the centre of its first column where the layout puts it.
    EXPECT_NEAR(columns.front() + pitch / 2, 49 + NamePitch / 2, Near);
    // The building's column starts one character further down than the address.
    const CanvasCall& building = printer.find("ビ");
    double buildingTop = PostcardHeight;
    for (const CanvasCall& ch : InFont(printer, 1)) {
        if (ch.x == building.x) {
            buildingTop = std::min(buildingTop, ch.y);
        }
    }
    EXPECT_NEAR(buildingTop, 25 + FontHeight(building.size), Near);

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardH(job, 3));
    ExpectOnTheCard(printer, false);
    const std::vector<std::string> givens{"花子", "健太", "さくら"};
    for (const std::string& given : givens) {
        const CanvasCall row = NameRun(printer, given);
        EXPECT_NEAR(row.x, NameRun(printer, "花子").x, Near) << given; // left edges in line
        EXPECT_GT(row.x, NameRun(printer, "山田").x);
        EXPECT_LE(row.y + FontHeight(row.size), layout.L_SendH.top + Near); // above the sender
    }
    // "さくら　ちゃん" is the longest row and one run: the others' honorifics start where its does.
    const CanvasCall longest = NameRun(printer, "さくら");
    EXPECT_EQ(longest.text, "さくら　ちゃん");
    const double honorificX = longest.x + 4 * 0.35 * longest.size;
    for (const std::string honorific : {"様", "くん"}) {
        EXPECT_NEAR(NameRun(printer, honorific).x, honorificX, Near) << honorific;
    }
}

TEST_F(PostcardTest, JointNamesStayOffWhenTheOptionIsOff)
{
    layout.AddrJointNames = 0;
    recipient().PrintName = "山田　太郎!";
    recipient().JointNames = {{"", "花子", "様"}};
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田　太郎　様"}));
}

TEST(PostcardNameTest, JointNamesTravelInTheWorkFileAndFollowTheMainName)
{
    const std::vector<JointName> names{{"", "花子", "様"}, {"鈴木", "一郎", "殿"}};
    EXPECT_EQ(DecodeJointNames(EncodeJointNames(names)), names);
    EXPECT_TRUE(DecodeJointNames("").empty());
    EXPECT_TRUE(DecodeJointNames("broken").empty());
    EXPECT_EQ(PrepareRecipientName("山田　太郎!", "様", false, names), "山田　太郎　様%花子　様{鈴木　一郎　殿");
    EXPECT_EQ(PrepareRecipientName("山田　太郎!", "様", true, names), "山田　太郎　%花子　{鈴木　一郎　殿");
}

TEST_F(PostcardTest, ABlockThatCannotFitIsMarkedOnThePreviewAndNotDrawnPastTheEdge)
{
    recipient().PrintName =
        "寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末食う寝る処に住む処やぶら小路の藪柑子!";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    ExpectOnTheCard(printer, false);
    EXPECT_EQ(InFont(printer, 4).front().size, MinFitPoints);
    EXPECT_FALSE(preview.boxes().empty());
    EXPECT_NO_THROW(preview.find("※"));

    printer.calls.clear();
    recipient().PrintName =
        "寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末食う寝る処に住む処やぶら小路の藪柑子"
        "パイポパイポパイポのシューリンガンシューリンガンのグーリンダイグーリンダイのポンポコピー!";
    ASSERT_TRUE(PrintPostcardV(job, 3));
    ExpectOnTheCard(printer, true);
}

TEST_F(PostcardTest, NoSenderBlockUnlessAsked)
{
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_TRUE(InFont(printer, 5).empty());
    EXPECT_TRUE(InFont(printer, 6).empty());
}

TEST_F(PostcardTest, DefaultSizesAreKeptInTheSettingsExceptTheCodeFont)
{
    layout.AddrFromSet = 1;
    layout.AddrFontSize[4] = 40;
    ASSERT_TRUE(PrintPostcardV(job, 3));

    EXPECT_EQ(std::vector<int>(layout.AddrFontSize.begin(), layout.AddrFontSize.begin() + 7),
              (std::vector<int>{0, 20, 20, 20, 40, 14, 16}));
    EXPECT_EQ(InFont(printer, 0).front().size, 16);
    EXPECT_EQ(InFont(printer, 4).front().size, 40);
    EXPECT_NEAR(InFont(preview, 4).front().size, 24, Near);
    EXPECT_EQ(InFont(printer, 5).front().size, 14);
}

TEST_F(PostcardTest, VerticalCardClearsThePreviewAndTellsItsPosition)
{
    table.entries.push_back(Recipient("大阪府", "鈴木　一郎"));
    table.PrintLineCount = 4;
    ASSERT_TRUE(PrintPostcardV(job, 4));

    EXPECT_EQ(job.positionLabel, "2/2 件目");
    EXPECT_EQ(preview.calls.front().op, "clear");
    EXPECT_EQ(preview.find("大").font, "F1");
}

class FailingCanvas : public RecordingCanvas
{
public:
    void drawText(double, double, std::string_view) override { throw std::runtime_error("no printer"); }
};

TEST_F(PostcardTest, DrawingFailureEndsTheCardWithAMessage)
{
    FailingCanvas failing;
    job.target.printer = &failing;
    EXPECT_FALSE(PrintPostcardH(job, 3));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"プリンタ、または、フォント設定に問題があります。"}));
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST(PostcardNameTest, SeparatorsOfBothWidthsAndTheEndMarker)
{
    EXPECT_EQ(PrepareRecipientName("甲!乙￥丙＠丁!", " 様 ", false), "甲!乙　様%丙　様{丁　様");
    EXPECT_EQ(PrepareRecipientName("甲￥丙＠丁!", "様", true), "甲　%丙　{丁　様");
    // Prepared once, left alone after.
    EXPECT_EQ(PrepareRecipientName("甲　様%丙　様", "様", false), "甲　様%丙　様");
    EXPECT_EQ(CutAtEndMarker("送り主!"), "送り主");
}

TEST(PostcardNameTest, FlagsReadAsTwoDigits)
{
    EXPECT_EQ(FlagDigits(""), "00");
    EXPECT_EQ(FlagDigits("1"), "01");
    EXPECT_EQ(FlagDigits("10"), "10");
    EXPECT_TRUE(HonorificOnlyAfterLastName("11"));
    EXPECT_FALSE(HonorificOnlyAfterLastName("10"));
    EXPECT_TRUE(UsesSecondSender("10"));
    EXPECT_FALSE(UsesSecondSender("1"));
}

} // namespace
} // namespace talik
