// Pager messages typed as text and dialled as digits, message files, and what the call
// confirmation shows and leaves for the dial request.
#include "dial/pagercode.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "listwin/appstate.h"
#include "store/record.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

// Codes written with a blank between pairs, as the code tables list them.
std::string Pairs(std::string_view spaced)
{
    std::string digits;
    for (char c : spaced) {
        if (c != ' ') {
            digits += c;
        }
    }
    return digits;
}

TEST(PagerCodes, TheTwoSystemsCodeDigitsDifferently)
{
    EXPECT_EQ(PagerCodes(NormalisePagerText("ｱｲ1"), 1), "111210");
    EXPECT_EQ(PagerCodes(NormalisePagerText("ｱｲ1"), 2), "111296");
    EXPECT_EQ(PagerCodes("ｱｲ1", 0), "111296") << "any type but 1 takes the second table";
    EXPECT_EQ(PagerCodes("ｱｲ1", 7), "111296");
}

TEST(PagerCodes, LettersDigitsAndSignsFollowTheTableOfEachSystem)
{
    EXPECT_EQ(PagerCodes("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1),
              Pairs("16 17 18 19 26 27 28 29 36 37 38 39 46 47 48 49 56 57 58 59 66 67 68 69 76 77"));
    EXPECT_EQ(PagerCodes("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2),
              Pairs("16 17 18 19 10 26 27 28 29 20 36 37 38 39 30 46 47 48 49 40 56 57 58 59 50 66"));
    EXPECT_EQ(PagerCodes("0123456789", 1), Pairs("00 10 20 30 40 50 60 70 80 90"));
    EXPECT_EQ(PagerCodes("0123456789", 2), Pairs("00 96 97 98 99 90 06 07 08 09"));
    EXPECT_EQ(PagerCodes("?!\\&/-ｰ#* ", 1), Pairs("78 79 89 08 06 07 07 86 87 09"));
    EXPECT_EQ(PagerCodes("?!\\&/-ｰ#* ", 2), Pairs("67 68 76 77 60 69 69 87 86 88"));
}

TEST(PagerCodes, KanaAreCodedByRowAndColumnInBothSystems)
{
    for (int msgType : {1, 2}) {
        EXPECT_EQ(PagerCodes("ｱｶｻﾀﾅﾊﾏﾔﾗﾜ", msgType), Pairs("11 21 31 41 51 61 71 81 91 01"));
        EXPECT_EQ(PagerCodes("ｵｺｿﾄﾉﾎﾓﾖﾛﾟ", msgType), Pairs("15 25 35 45 55 65 75 85 95 05"));
        EXPECT_EQ(PagerCodes("ｲｸｾﾂﾈﾌﾑ(ﾙｦ", msgType), Pairs("12 23 34 43 54 63 73 82 93 02"));
        EXPECT_EQ(PagerCodes("ｳｹﾃﾍﾒ)ﾚﾝﾞ", msgType), Pairs("13 24 44 64 74 84 94 03 04"));
    }
}

TEST(PagerCodes, HiraganaBecomeHalfWidthKanaWithTheVoicingMarkApart)
{
    EXPECT_EQ(NormalisePagerText("かが"), "ｶｶﾞ");
    EXPECT_EQ(PagerCodes(NormalisePagerText("かが"), 1), "212104");
    EXPECT_EQ(NormalisePagerText("パ"), "ﾊﾟ");
    EXPECT_EQ(NormalisePagerText("ヴ"), "ｳﾞ");
}

TEST(PagerCodes, SmallKanaStayInTheTextButHaveNoCode)
{
    EXPECT_EQ(NormalisePagerText("きゃっち"), "ｷｬｯﾁ");
    EXPECT_EQ(NormalisePagerText("ｷｬｯﾁ"), "ｷｬｯﾁ");
    EXPECT_EQ(PagerCodes("ｷｬｯﾁ", 1), "2242");
    EXPECT_EQ(PagerCodes("ｧｨｩｪｫ", 2), "");
}

TEST(PagerCodes, TextBecomesHalfWidthUpperCase)
{
    EXPECT_EQ(NormalisePagerText("abc Ｄｅｆ１２"), "ABC DEF12");
    EXPECT_EQ(NormalisePagerText("ＴＥＬ　＃＊／＆？！"), "TEL #*/&?!");
    EXPECT_EQ(NormalisePagerText("￥＼"), "\\\\");
    EXPECT_EQ(NormalisePagerText("－−-"), "---");
    EXPECT_EQ(NormalisePagerText("ーｰ"), "ｰｰ");
}

TEST(PagerCodes, CharactersWithoutAKanaFormLeaveTheText)
{
    // Kanji, other signs and the half-width punctuation have no half-width kana to turn into, so
    // even the brackets of the code table never come from typed text.
    EXPECT_EQ(NormalisePagerText("山田.,(x)「｡｣"), "X");
    EXPECT_EQ(NormalisePagerText("😀あ"), "ｱ");
    EXPECT_EQ(NormalisePagerText(""), "");
}

class MessageFiles : public ::testing::Test
{
protected:
    std::string file(const char* name) const { return dir.str() + "/" + name; }
    void write(const char* name, std::string_view cp932) { std::ofstream(file(name), std::ios::binary) << cp932; }
    std::string read(const char* name) const
    {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    TempDir dir;
};

TEST_F(MessageFiles, ASavedMessageIsTheTrimmedTextUnderTelOption)
{
    ASSERT_TRUE(WriteMessageFile(file("a.qxm"), "  111210 "));
    EXPECT_EQ(read("a.qxm"), "[Tel_Option]\r\nMessage=111210\r\n");
    EXPECT_EQ(ReadMessageFile(file("a.qxm")), "111210");
}

TEST_F(MessageFiles, AMissingFileSectionOrKeyReadsAsNoMessage)
{
    EXPECT_EQ(ReadMessageFile(file("none.qxm")), "");
    write("c.qxm", "[Other]\r\nMessage=12\r\n");
    EXPECT_EQ(ReadMessageFile(file("c.qxm")), "");
    write("d.qxm", "[tel_option]\r\nmessage=*12\r\n");
    EXPECT_EQ(ReadMessageFile(file("d.qxm")), "") << "a value starting with the default's \"*\" counts as none";
    write("e.qxm", "[TEL_OPTION]\r\nMESSAGE=  0120  \r\n");
    EXPECT_EQ(ReadMessageFile(file("e.qxm")), "0120");
}

// The call confirmation's decisions on the shared state.
class CallConfirmation : public ::testing::Test
{
protected:
    CallConfirmation()
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanjiName, "見本　太郎");
        state.settings.ComExtTel = "0";
    }
    // The record's slot `slot` is of `kind`, the others telephones; the call goes to that slot.
    void dialSlot(int slot, int kind, std::string number)
    {
        static constexpr int Place[4] = {1000, 100, 10, 1};
        SetInteger(state.Rec.PhoneKinds, static_cast<std::int16_t>(kind * Place[slot]));
        state.DialSlot = slot;
        state.DialNumber = std::move(number);
    }

    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

TEST_F(CallConfirmation, ShowsTheCalleeTheKindAndNumberAndTheOutsideLine)
{
    dialSlot(2, 2, "090-1111-2222");
    state.settings.ExtTelFlag = 1;
    CallLook look = LookOfCall(state);
    EXPECT_EQ(look.name, "見本　太郎");
    EXPECT_EQ(look.kindAndNumber, "ポケベル：090-1111-2222");
    EXPECT_EQ(look.outsideLineCaption, "外線コール（ 0 ）");
    EXPECT_TRUE(look.outsideLineChecked);
    state.settings.ExtTelFlag = 0;
    dialSlot(0, 0, "03-1234-5678");
    look = LookOfCall(state);
    EXPECT_FALSE(look.outsideLineChecked);
    EXPECT_EQ(look.kindAndNumber, "ＴＥＬ　：03-1234-5678") << "only blanks are trimmed";
}

TEST_F(CallConfirmation, OnlyPagersMobilesAndPhsTakeAMessage)
{
    const bool expected[5] = {false, false, true, true, true};
    for (int kind = 0; kind < 5; ++kind) {
        for (int slot = 0; slot < 4; ++slot) {
            dialSlot(slot, kind, "1");
            EXPECT_EQ(LookOfCall(state).messageEnabled, expected[kind]) << "kind " << kind << " slot " << slot;
        }
    }
}

TEST_F(CallConfirmation, TheNumberGetsTwoPausesAndTheOutsideLinePrefixOneBefore)
{
    dialSlot(0, 0, "03-1234-5678");
    ConfirmCall(state, false, "123");
    EXPECT_EQ(state.EditStatus, 'Y');
    EXPECT_EQ(state.DialNumber, "03-1234-5678,,");
    dialSlot(1, 1, "03-1234-5678");
    state.settings.ComExtTel = " 0 ";
    ConfirmCall(state, true, "");
    EXPECT_EQ(state.DialNumber, "0,03-1234-5678,,");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(CallConfirmation, OnlyAPagerDialsItsMessage)
{
    dialSlot(3, 2, "03-1234-5678");
    ConfirmCall(state, true, "  111210  ");
    EXPECT_EQ(state.DialNumber, "0,03-1234-5678,,111210");
    dialSlot(3, 2, "03-1234-5678");
    ConfirmCall(state, false, "");
    EXPECT_EQ(state.DialNumber, "03-1234-5678,,") << "an empty message still gets the pauses";
    for (int kind : {3, 4}) {
        dialSlot(3, kind, "090-1111-2222");
        ConfirmCall(state, false, "111210");
        EXPECT_EQ(state.DialNumber, "090-1111-2222,,") << "kind " << kind;
    }
}

TEST_F(CallConfirmation, ASlotWithoutANumberIsNeverCalledEvenWithTheOutsideLine)
{
    for (bool outsideLine : {false, true}) {
        ui.shown.clear();
        dialSlot(2, 2, "");
        state.EditStatus = ' ';
        ConfirmCall(state, outsideLine, "111210");
        EXPECT_EQ(state.EditStatus, 'N') << outsideLine;
        EXPECT_EQ(state.DialNumber, "") << outsideLine;
        ASSERT_EQ(ui.shown.size(), 1u);
        EXPECT_EQ(ui.shown[0].text, "電話番号が登録されていません。");
        EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    }
}

TEST_F(CallConfirmation, CancellingLeavesNoCall)
{
    dialSlot(0, 0, "03-1234-5678");
    state.EditStatus = 'Y';
    CancelCall(state);
    EXPECT_EQ(state.EditStatus, 'N');
    EXPECT_EQ(state.DialNumber, "03-1234-5678");
}

} // namespace
} // namespace talik::test
