// The record editor's rules: modes, birthday and age, telephone kinds, keys, carrying values
// between the boxes and the record, and what each button leaves in the database and EditStatus.
#include <cstddef>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "editor/recordedit.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

std::string Repeat(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(RecordEditor, ModeFollowsTheRecordNumberSearchFlagAndStatus)
{
    EXPECT_EQ(DecideEditorMode(0, false, 'R'), EditorMode::New);
    EXPECT_EQ(DecideEditorMode(0, true, ' '), EditorMode::Search);
    EXPECT_EQ(DecideEditorMode(5, true, 'N'), EditorMode::Change);
    EXPECT_EQ(DecideEditorMode(5, false, 'R'), EditorMode::View);

    EditorLook view = LookOf(EditorMode::View);
    EXPECT_EQ(view.closeCaption, "閉じる");
    EXPECT_FALSE(view.storeVisible || view.storeAsNewVisible || view.printSettingsVisible);
    EditorLook search = LookOf(EditorMode::Search);
    EXPECT_EQ(search.title, "住所録　検索機能");
    EXPECT_FALSE(search.storeAsNewVisible || search.printSettingsVisible || search.extrasVisible || search.ageVisible);
    EXPECT_EQ(search.background, 0x808000u);
    EXPECT_TRUE(LookOf(EditorMode::Change).storeAsNewVisible);
    EXPECT_FALSE(LookOf(EditorMode::New).storeAsNewVisible || LookOf(EditorMode::New).background);
}

TEST(RecordEditor, EraYearsBecomeWesternYearsAndAnythingElseIsRefused)
{
    EXPECT_EQ(NormaliseYear("s50"), "1975");
    EXPECT_EQ(NormaliseYear("H1"), "1989");
    EXPECT_EQ(NormaliseYear("R8"), "2026");
    EXPECT_EQ(NormaliseYear("m45"), "1912");
    EXPECT_EQ(NormaliseYear("T15"), "1926");
    EXPECT_EQ(NormaliseYear("Ｓ５０"), "1975"); // full-width forms read as their ASCII
    EXPECT_EQ(NormaliseYear("1965"), "1965");
    EXPECT_EQ(NormaliseYear(""), "");
    EXPECT_EQ(NormaliseYear("  "), "");
    EXPECT_EQ(NormaliseYear("S5X"), std::nullopt);
    EXPECT_EQ(NormaliseYear("X12"), std::nullopt);
    EXPECT_EQ(NormaliseYear("S"), std::nullopt);
    EXPECT_EQ(NormaliseYear("S123"), std::nullopt);
    EXPECT_EQ(NormaliseYear("昭50"), std::nullopt);
}

TEST(RecordEditor, MonthAndDayAcceptBlankOrTheirRangeOnly)
{
    EXPECT_EQ(NormaliseMonth(""), "");
    EXPECT_EQ(NormaliseMonth("12"), "12");
    EXPECT_EQ(NormaliseMonth("13"), std::nullopt);
    EXPECT_EQ(NormaliseMonth("0"), std::nullopt);
    EXPECT_EQ(NormaliseMonth("1a"), std::nullopt);
    EXPECT_EQ(NormaliseDay("31"), "31");
    EXPECT_EQ(NormaliseDay("0"), std::nullopt);
    EXPECT_EQ(NormaliseDay("32"), std::nullopt);
    EXPECT_EQ(NormaliseDay(" "), "");

    EXPECT_EQ(BirthdayOf("1965", "02", "03"), 19650203);
    EXPECT_EQ(BirthdayOf("1965", "", ""), 19650000);
    EXPECT_EQ(BirthdayOf("S5X", "2", "3"), 203);
    EXPECT_EQ(BirthdayOf("", "", ""), 0);
}

TEST(RecordEditor, AgeIsShownOnlyForAPastBirthday)
{
    LocalTime today{2026, 12, 7};
    EXPECT_EQ(AgeText(19840203, today), "42才");
    EXPECT_EQ(AgeText(19841207, today), "42才"); // the birthday itself
    EXPECT_EQ(AgeText(19841208, today), "41才");
    EXPECT_EQ(AgeText(20261207, today), "0才");
    EXPECT_EQ(AgeText(0, today), "");
    EXPECT_EQ(AgeText(20261208, today), "");
}

TEST(RecordEditor, PhoneKindsPackAsFourDigitsAndWrapOnClick)
{
    EXPECT_EQ(UnpackPhoneKinds(5000), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(UnpackPhoneKinds(-1), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(UnpackPhoneKinds(101), (std::array<int, 4>{0, 1, 0, 1}));
    EXPECT_EQ(UnpackPhoneKinds(4319), (std::array<int, 4>{4, 3, 1, 0}));
    EXPECT_EQ(PackPhoneKinds({0, 1, 0, 1}), 101);
    EXPECT_EQ(PackPhoneKinds({4, 4, 4, 4}), 4444);

    for (int start = 0; start <= 4; ++start) {
        int kind = start;
        for (int click = 0; click < 5; ++click) {
            kind = NextPhoneKind(kind);
        }
        EXPECT_EQ(kind, start);
    }
    EXPECT_EQ(NextPhoneKind(3), 4);
    EXPECT_EQ(NextPhoneKind(4), 0);
}

TEST(RecordEditor, EnterChainKeysAndLengths)
{
    EXPECT_EQ(NextInEnterChain(EditorBox::Reading), EditorBox::Name);
    EXPECT_EQ(NextInEnterChain(EditorBox::Fax1), EditorBox::Address2);
    EXPECT_EQ(NextInEnterChain(EditorBox::Remarks), std::nullopt);

    EXPECT_FALSE(BoxAcceptsChar(EditorBox::Name, U','));
    EXPECT_FALSE(BoxAcceptsChar(EditorBox::Remarks, U','));
    EXPECT_TRUE(BoxAcceptsChar(EditorBox::Name, U'漢'));
    for (EditorBox box : {EditorBox::PostCode1, EditorBox::Tel1, EditorBox::Fax2}) {
        EXPECT_TRUE(BoxAcceptsChar(box, U'0') && BoxAcceptsChar(box, U'9'));
        EXPECT_TRUE(BoxAcceptsChar(box, U'-') && BoxAcceptsChar(box, U'.'));
        EXPECT_FALSE(BoxAcceptsChar(box, U'a') || BoxAcceptsChar(box, U'１') || BoxAcceptsChar(box, U' '));
    }

    EXPECT_EQ(MaxLengthOf(EditorBox::Year), 4);
    EXPECT_EQ(MaxLengthOf(EditorBox::EMail), 50);
    EXPECT_EQ(MaxLengthOf(EditorBox::Name), 0);
}

// A record with every field set, as the program would have written it.
AddressRecord FullRecord()
{
    AddressRecord rec{};
    ClearRecord(rec);
    SetText(rec.KanaName, "ﾔﾏﾀﾞ ﾀﾛｳ");
    SetText(rec.KanjiName, "山田　太郎");
    SetText(rec.EMail, "taro@example.jp");
    SetText(rec.Address1, "東京都千代田区１－１");
    SetText(rec.PostCode1, "100-0001");
    SetText(rec.Tel1, "03-1234-5678");
    SetText(rec.Fax1, "03-1234-5679");
    SetText(rec.Address2, "大阪府大阪市");
    SetText(rec.PostCode2, "530-0001");
    SetText(rec.Tel2, "090-1111-2222");
    SetText(rec.Fax2, "06-1111-2222");
    SetLong(rec.Birthday, 19650203);
    SetInteger(rec.PrintOptions, 10101);
    SetText(rec.Company, "山田商事");
    SetText(rec.Department, "営業部");
    SetText(rec.Remarks, "備考欄");
    std::memcpy(rec.CheckItems, "1 1           1", 15);
    SetText(rec.ClassCode, "A01");
    SetText(rec.Honorific, "様");
    SetInteger(rec.PhoneKinds, 101);
    rec.SenderChoice[0] = '1';
    std::memcpy(rec.Reserved, "\x01kept\x00\xff bytes!", 14);
    return rec;
}

TEST(RecordEditor, ARecordGoesToTheBoxesAndBackUnchanged)
{
    AddressRecord rec = FullRecord();
    EditorValues values = ValuesOfRecord(rec);
    EXPECT_EQ(values.kana, "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(values.year, "1965");
    EXPECT_EQ(values.month, "02");
    EXPECT_EQ(values.day, "03");
    EXPECT_EQ(values.company[1], "営業部");
    EXPECT_EQ(values.tel[1], "090-1111-2222");
    EXPECT_TRUE(values.checks[0] && values.checks[2] && values.checks[14]);
    EXPECT_FALSE(values.checks[1]);
    EXPECT_EQ(values.phoneKinds, (std::array<int, 4>{0, 1, 0, 1}));

    AddressRecord back = rec;
    // Every field the boxes show is rewritten from them; the rest must stay as it was.
    std::memset(&back, 0x5A, offsetof(AddressRecord, PrintOptions));
    std::memset(back.Company, 0x5A, offsetof(AddressRecord, Honorific) - offsetof(AddressRecord, Company));
    std::memset(back.PhoneKinds, 0x5A, sizeof back.PhoneKinds);
    CollectValues(values, back);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof rec), 0);
}

TEST(RecordEditor, CollectedTextsAreCleanedAndCutAtAWholeCharacter)
{
    AddressRecord rec{};
    ClearRecord(rec);
    EditorValues values;
    values.kanji = Repeat("漢", 16);
    values.remarks = std::string("  memo\0hidden", 13);
    values.year = "1965";
    values.checks[3] = true;
    CollectValues(values, rec);
    EXPECT_EQ(GetText(rec.KanjiName), Repeat("漢", 15));
    EXPECT_EQ(std::string_view(rec.Remarks, 6), "memo  ");
    EXPECT_EQ(GetLong(rec.Birthday), 19650000);
    EXPECT_EQ(std::string_view(rec.CheckItems, 5), "   1 ");
    EXPECT_EQ(ValuesOfRecord(AddressRecord{}).year, ""); // no birthday: blank boxes
}

// --- leaving, on a real database ----------------------------------------------------------------

class EditorLeaveTest : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        ClearRecord(state.Rec);
        ClearRecord(state.Extra);
    }
    // Opens record `recNo` the way the editor does and returns its boxes.
    EditorValues open(std::int32_t recNo)
    {
        state.CurRecNo = recNo;
        EXPECT_TRUE(ReadCurrent(state));
        return ValuesOfRecord(state.Rec);
    }
    // Record `recNo` of the main file as stored.
    std::vector<std::uint8_t> stored(std::int32_t recNo)
    {
        auto file = ReadFileBytes(mainPath());
        auto first = file.begin() + (recNo - 1) * static_cast<long>(MainRecLen);
        return {first, first + MainRecLen};
    }
};

TEST_F(EditorLeaveTest, AMissingReadingIsToldAndNothingElseHappens)
{
    state.EditStatus = 'x';
    EditorValues values;
    values.kanji = "名前だけ";
    for (EditorButton button : {EditorButton::Store, EditorButton::PrintSettings}) {
        EXPECT_EQ(LeaveEditor(state, EditorMode::New, button, values), LeaveOutcome::Stay);
    }
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].text, ReadingRequiredMessage);
    EXPECT_EQ(ui.shown[0].title, ReadingRequiredTitle);
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.EditStatus, 'x');
    EXPECT_EQ(GetText(state.Rec.KanjiName), ""); // not even collected
    EXPECT_EQ(std::filesystem::file_size(mainPath()), MainRecLen);
}

TEST_F(EditorLeaveTest, StoringANewRecordAppendsItAndAChangeRewritesIt)
{
    state.CurRecNo = 0;
    EditorValues values;
    values.kana = "ｱｵｷ";
    values.kanji = "青木";
    values.phoneKinds = {3, 0, 0, 0};
    ASSERT_EQ(LeaveEditor(state, EditorMode::New, EditorButton::Store, values), LeaveOutcome::Close);
    EXPECT_EQ(state.EditStatus, 'N');
    EXPECT_EQ(state.CurRecNo, 2);

    EditorValues opened = open(2);
    EXPECT_EQ(opened.kanji, "青木");
    EXPECT_EQ(opened.phoneKinds, values.phoneKinds);
    opened.kanji = "青木一郎";
    ASSERT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::Store, opened), LeaveOutcome::Close);
    EXPECT_EQ(state.EditStatus, 'R');
    EXPECT_EQ(state.CurRecNo, 2);
    EXPECT_EQ(open(2).kanji, "青木一郎");
    EXPECT_EQ(std::filesystem::file_size(mainPath()), 2 * MainRecLen);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(EditorLeaveTest, StoreAsNewAppendsACopyAndLeavesTheOpenedRecordAlone)
{
    std::int32_t original = addRecord("ｲﾄｳ", "伊藤");
    auto before = stored(original);
    EditorValues values = open(original);
    values.kanji = "伊藤花子";
    ASSERT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::StoreAsNew, values), LeaveOutcome::Close);
    EXPECT_EQ(state.EditStatus, 'N');
    EXPECT_EQ(state.CurRecNo, original + 1);
    EXPECT_EQ(stored(original), before);
    EXPECT_EQ(open(original + 1).kanji, "伊藤花子");
    EXPECT_EQ(open(original + 1).kana, "ｲﾄｳ");
}

TEST_F(EditorLeaveTest, AFailedStoreKeepsTheEditorOpenOnTheRecordItShows)
{
    std::int32_t original = addRecord("ｳｴﾀﾞ", "上田");
    EditorValues values = open(original);
    state.EditStatus = ' ';
    state.DataPath = dir.str() + "/gone"; // the data folder disappeared under the editor
    EXPECT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::StoreAsNew, values), LeaveOutcome::Stay);
    EXPECT_EQ(state.CurRecNo, original);
    EXPECT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::Store, values), LeaveOutcome::Stay);
    EXPECT_EQ(state.EditStatus, ' ');
    EXPECT_FALSE(ui.shown.empty()); // the store told why
}

TEST_F(EditorLeaveTest, CancelSearchPrintSettingsAndHiddenButtonsWriteNothing)
{
    std::int32_t original = addRecord("ｴﾉﾓﾄ", "榎本");
    auto file = ReadFileBytes(mainPath());
    EditorValues values = open(original);
    values.kanji = "変更";
    EXPECT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::Cancel, values), LeaveOutcome::Close);
    EXPECT_EQ(state.EditStatus, ' ');

    EXPECT_EQ(LeaveEditor(state, EditorMode::Change, EditorButton::PrintSettings, values),
              LeaveOutcome::OpenPrintSettings);
    EXPECT_EQ(GetText(state.Rec.KanjiName), "変更"); // collected for the print settings

    state.CurRecNo = 0;
    EditorValues conditions;
    conditions.kanji = "榎"; // no reading: search conditions need none
    EXPECT_EQ(LeaveEditor(state, EditorMode::Search, EditorButton::Store, conditions), LeaveOutcome::Close);
    EXPECT_EQ(state.EditStatus, 'S');
    EXPECT_EQ(GetText(state.Rec.KanjiName), "榎");
    EXPECT_EQ(state.CurRecNo, 0);
    EXPECT_EQ(LeaveEditor(state, EditorMode::Search, EditorButton::StoreAsNew, values), LeaveOutcome::Stay);

    state.CurRecNo = original;
    state.EditStatus = 'R';
    for (EditorButton button : {EditorButton::Store, EditorButton::StoreAsNew, EditorButton::PrintSettings}) {
        EXPECT_EQ(LeaveEditor(state, EditorMode::View, button, values), LeaveOutcome::Stay);
    }
    EXPECT_EQ(state.EditStatus, 'R');

    EXPECT_EQ(ReadFileBytes(mainPath()), file);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace talik::test
