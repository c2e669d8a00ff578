#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "listwin/appstate.h"
#include "print/engines.h"
#include "print/postcardlayout.h"
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

class PostcardTest : public ::testing::Test
{
protected:
    test::ScriptedInteraction ui;
    test::FixedClock clock;
    AppState state{ui, clock};
    PrintTable table;
    PrintJob job{state, table};
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
    ASSERT_TRUE(PrintPostcardV(job, 3));

    const auto digits = InFont(printer, 0);
    ASSERT_EQ(Texts(digits), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    const double boxes[] = {49.0, 58.5, 68.0, 79.0, 88.5};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        ExpectAt(digits[i], boxes[i], 13.0);
    }
}

TEST_F(PostcardTest, VerticalAddressStartsANewColumnAt125mmAndAtYen)
{
    recipient().PrintAddress = "あいうえおかきくけこさしすせそた￥ち";
    ASSERT_TRUE(PrintPostcardV(job, 3));

    const auto chars = InFont(printer, 1);
    ASSERT_EQ(chars.size(), 17u);
    for (int i = 0; i < 14; ++i) {
        ExpectAt(chars[i], 87, 25 + i * AddressPitch);
    }
    EXPECT_EQ(chars[14].text, "そ");
    ExpectAt(chars[14], 87 - AddressPitch, 25);
    ExpectAt(chars[15], 87 - AddressPitch, 25 + AddressPitch);
    EXPECT_EQ(chars[16].text, "ち");
    ExpectAt(chars[16], 87 - 2 * AddressPitch, 25);
}

TEST_F(PostcardTest, HorizontalAddressBreaksBeforePassing94mmAndAtBackslash)
{
    layout.L_AddrH.left = 10.5f; // each character is 7 mm wide on the card: eleven fit
    recipient().PrintAddress = "あいうえおかきくけこさし\\す";
    ASSERT_TRUE(PrintPostcardH(job, 3));

    const auto lines = InFont(printer, 1);
    ASSERT_EQ(Texts(lines), (std::vector<std::string>{"あいうえおかきくけこさ", "し", "す"}));
    ExpectAt(lines[0], 10.5, 50);
    ExpectAt(lines[1], 10.5, 50 + AddressPitch);
    ExpectAt(lines[2], 10.5, 50 + 2 * AddressPitch);
}

TEST_F(PostcardTest, HorizontalFamilyNameStandsUnderTheGivenNameWithTheHonorific)
{
    recipient().PrintName = "山田　太郎\\花子!";
    ASSERT_TRUE(PrintPostcardH(job, 3));

    // "山田　" is 3 × 6.72 mm on the preview: 33.6 mm on the card.
    EXPECT_EQ(Texts(InFont(printer, 4)), (std::vector<std::string>{"山田　太郎　様", "花子　様"}));
    ExpectAt(printer.find("山田　太郎　様"), 25, 70);
    ExpectAt(printer.find("花子　様"), 25 + 33.6, 70 + NamePitch);

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
    ExpectAt(printer.find("花子　様"), 25 + 33.6, 70 + NamePitch);
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
    layout.AddrNumChange = 1;
    layout.AddrFromSet = 1;
    recipient().PrintAddress = "港区1-２ー3";
    ASSERT_TRUE(PrintPostcardH(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"港区一-二ー三"}));
    EXPECT_EQ(Texts(InFont(printer, 0)),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "1", "1", "1", "2", "2", "2", "2"}));

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardV(job, 3));
    const auto chars = InFont(printer, 1);
    EXPECT_EQ(Texts(chars), (std::vector<std::string>{"港", "区", "一", "－", "二", "－", "三"}));
    // Hyphen and long vowel mark both stand upright as the vertical dash.
    EXPECT_EQ(chars[3].font, "@F1");
    EXPECT_EQ(chars[5].font, "@F1");
    EXPECT_EQ(Texts(InFont(printer, 0)),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "1", "1", "1", "2", "2", "2", "2"}));
}

TEST_F(PostcardTest, VerticalHalfWidthKanaIsPrintedFullWidthWithItsVoicingMark)
{
    recipient().PrintAddress = "ｶﾞｲﾄﾞ ﾋﾟｱ";
    ASSERT_TRUE(PrintPostcardV(job, 3));
    EXPECT_EQ(Texts(InFont(printer, 1)), (std::vector<std::string>{"ガ", "イ", "ド", "　", "ピ", "ア"}));
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
    ASSERT_EQ(code.size(), 12u);
    const double xs[] = {6.5, 10.5, 14.5, 19.5, 23.5, 27.5, 31.5};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(code[5 + i].text, i < 3 ? "3" : "4");
        ExpectAt(code[5 + i], xs[i], 124);
        EXPECT_NEAR(code[5 + i].size, 12.8, Near);
    }

    printer.calls.clear();
    ASSERT_TRUE(PrintPostcardV(job, 3));
    const auto name = InFont(printer, 6);
    ASSERT_EQ(Texts(name), (std::vector<std::string>{"送", "り", "主", "二"}));
    ExpectAt(name[0], 23 - 1.3 * 5.76, 70); // a column left of the address, 10 mm lower
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
