// The list window's decisions: tabs, titles, keys, the kana jump, columns, buttons, layout.
#include <gtest/gtest.h>

#include "listwin/listwindow.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

TEST(ShiftArrows, IndividualModeFollowsTheGridWithItsGaps)
{
    auto up = [](int tab) { return ShiftArrowTab(ListMode::Individual, tab, ListKey::Up); };
    auto down = [](int tab) { return ShiftArrowTab(ListMode::Individual, tab, ListKey::Down); };
    EXPECT_EQ(down(34), 37); // も -> よ
    EXPECT_EQ(down(42), 0);  // ろ -> past the end
    EXPECT_EQ(up(39), 31);   // り -> み
    EXPECT_EQ(up(0), 44);    // あ -> 他
    EXPECT_EQ(down(31), 39);
    EXPECT_EQ(down(32), 36);
    EXPECT_EQ(down(35), 38);
    EXPECT_EQ(up(36), 32);
    EXPECT_EQ(up(38), 35);
    EXPECT_EQ(up(41), 33);
    EXPECT_EQ(down(7), 12);
    EXPECT_EQ(ShiftArrowTab(ListMode::Individual, 0, ListKey::Left), 44);
    EXPECT_EQ(ShiftArrowTab(ListMode::Individual, 44, ListKey::Right), 0);
}

TEST(ShiftArrows, RowModeWrapsOverTheNineRows)
{
    EXPECT_EQ(ShiftArrowTab(ListMode::Row, 8, ListKey::Right), 0);
    EXPECT_EQ(ShiftArrowTab(ListMode::Row, 8, ListKey::Down), 0);
    EXPECT_EQ(ShiftArrowTab(ListMode::Row, 0, ListKey::Left), 8);
    EXPECT_EQ(ShiftArrowTab(ListMode::Row, 0, ListKey::Up), 8);
    EXPECT_EQ(ShiftArrowTab(ListMode::Row, 3, ListKey::Down), 4);
}

class ListWindowCore : public StoreTest
{
protected:
    void SetUp() override
    {
        load();
        for (auto reading : {"ｶﾅｲ", "ｶﾄｳ", "ｶﾅｻﾞﾜ", "ｷﾑﾗ", "ｱｵｷ", "ｺﾝﾄﾞｳ"}) {
            addRecord(reading);
        }
        load();
        state.MainList.sortOn(0);
    }
    std::vector<std::string> shownReadings()
    {
        std::vector<std::string> readings;
        for (const auto& item : state.MainList.items()) {
            readings.push_back(item.text);
        }
        return readings;
    }
};

TEST_F(ListWindowCore, ATabShowsItsGroupSortedUnderItsTitle)
{
    ASSERT_TRUE(ShowTab(state, 5));
    EXPECT_EQ(state.texts.ListTitle, "か 一覧 (3件)");
    EXPECT_EQ(shownReadings(), (std::vector<std::string>{"ｶﾄｳ", "ｶﾅｲ", "ｶﾅｻﾞﾜ"}));
    EXPECT_FALSE(ShowTab(state, 5)); // the shown tab is not filled again
}

TEST_F(ListWindowCore, ARowTabShowsItsGroupsAndCountTabsShowNothing)
{
    state.listMode = ListMode::Row;
    ASSERT_TRUE(ShowTab(state, 1));
    EXPECT_EQ(state.texts.ListTitle, "か行 一覧");
    EXPECT_EQ(state.MainList.size(), 5u);
    EXPECT_FALSE(ShowTab(state, 10));
    auto tabs = LayoutTabs(state);
    EXPECT_TRUE(tabs[10].countTab);
    EXPECT_EQ(tabs[10].caption, "5 件");
    EXPECT_EQ(tabs[8].caption, "ら、わ");
    EXPECT_FALSE(tabs[18].visible);
}

TEST_F(ListWindowCore, IndividualTabsStandInTheGrid)
{
    auto tabs = LayoutTabs(state);
    EXPECT_EQ(tabs[5].caption, "か");
    EXPECT_EQ(tabs[5].foreColour, 0xFF0000u); // first of its line: blue
    EXPECT_EQ(tabs[6].foreColour, 0x008000u);
    EXPECT_EQ(tabs[36].rect.left, tabs[32].rect.left); // ゆ under む
    EXPECT_EQ(tabs[37].rect.left, tabs[34].rect.left); // よ under も
    EXPECT_EQ(tabs[44].rect.left, tabs[39].rect.left); // 他 under り
    EXPECT_EQ(tabs[44].rect.top, tabs[43].rect.top);
    TwipRect marker = MarkerRect(tabs[0]);
    EXPECT_EQ(marker.left, tabs[0].rect.left - 30);
    EXPECT_EQ(marker.top, tabs[0].rect.top - 30);
}

TEST_F(ListWindowCore, KanaJumpShowsTheGroupAndSelectsTheFirstMatch)
{
    for (std::string typed : {"ｶﾅ", "かな"}) {
        state.CurrentTab = -1;
        JumpResult jump = KanaJump(state, typed);
        EXPECT_EQ(jump.reading, "ｶﾅ");
        EXPECT_EQ(state.CurrentTab, 5);
        ASSERT_TRUE(jump.found);
        EXPECT_EQ(state.MainList.at(*jump.found).text, "ｶﾅｲ");
        EXPECT_EQ(state.MainList.selected(), jump.found);
    }
    state.listMode = ListMode::Row;
    state.CurrentTab = -1;
    KanaJump(state, "ｷﾑ");
    EXPECT_EQ(state.CurrentTab, 1);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ListWindowCore, KanaJumpTellsWhenNothingMatchesAndIgnoresOtherTexts)
{
    JumpResult jump = KanaJump(state, "ｶﾐ");
    EXPECT_FALSE(jump.found);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"指定されたカナ名で始まる名前はありません。"});
    ui.shown.clear();
    state.CurrentTab = 2;
    for (std::string typed : {"", "   "}) {
        KanaJump(state, typed);
    }
    EXPECT_EQ(state.CurrentTab, 2);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ListWindowCore, AJumpGoesToTheTabOfItsFirstKanaInEitherMode)
{
    EXPECT_EQ(JumpReading("  かな "), "ｶﾅ");
    EXPECT_EQ(JumpReading("   "), "");
    EXPECT_EQ(JumpTab(state, "ｷﾑ"), 6);
    EXPECT_EQ(JumpTab(state, "ﾜﾀﾞ"), 43);
    EXPECT_FALSE(JumpTab(state, ""));
    // What the list files in the other group is found there.
    for (std::string reading : {"ﾝｼﾞｬﾒﾅ", "ｧ", "ｦ", "1", "abc", "山田"}) {
        EXPECT_EQ(JumpTab(state, reading), OtherGroup) << reading;
    }
    state.listMode = ListMode::Row;
    EXPECT_EQ(JumpTab(state, "ｷﾑ"), 1);
    EXPECT_EQ(JumpTab(state, "ﾜﾀﾞ"), 8);
    EXPECT_EQ(JumpTab(state, "ﾝ"), 8);
}

TEST_F(ListWindowCore, NoDatabaseSwitchWhileAnImportOrExportRuns)
{
    state.Busy = true;
    EXPECT_EQ(SwitchDatabase(state, 1), SwitchOutcome::Unchanged);
    EXPECT_EQ(state.DbNo, 1);
    EXPECT_TRUE(state.TablesLoaded);
    EXPECT_EQ(state.tables.TotalCount, 6);
}

TEST_F(ListWindowCore, KeysMapToTheWindowsCommands)
{
    state.CurrentTab = 34;
    EXPECT_EQ(HandleKey(state, ListKey::Down, true, false, false).tab, 37);
    EXPECT_EQ(HandleKey(state, ListKey::Enter, false, false, true).command, ListCommand::Swallow);
    EXPECT_EQ(HandleKey(state, ListKey::Enter, false, false, false).command, ListCommand::DoubleClick);
    EXPECT_EQ(HandleKey(state, ListKey::F5, false, false, false).command, ListCommand::Search);
    EXPECT_EQ(HandleKey(state, ListKey::F12, true, false, false).command, ListCommand::Close);
    EXPECT_EQ(HandleKey(state, ListKey::F1, false, true, false).command, ListCommand::Minimise);
    EXPECT_EQ(HandleKey(state, ListKey::Down, false, false, false).command, ListCommand::ClearJumpAndFocusList);
    EXPECT_EQ(HandleKey(state, ListKey::Left, false, false, false).command, ListCommand::PassOn);
    EXPECT_EQ(HandleKey(state, ListKey::F12, false, false, false).command, ListCommand::PassOn);
    EXPECT_EQ(HandleKey(state, ListKey::Menu, false, false, false).command, ListCommand::RecordMenu);
    EXPECT_EQ(HandleKey(state, ListKey::F10, true, false, false).command, ListCommand::RecordMenu);
    EXPECT_EQ(HandleKey(state, ListKey::F10, false, false, false).command, ListCommand::Change);
    // F3 toggles 受 only while the list shows the card marks; with Shift or Ctrl it is no command.
    EXPECT_EQ(HandleKey(state, ListKey::F3, false, false, false).command, ListCommand::PassOn);
    state.settings.SeasonView = 1;
    EXPECT_EQ(HandleKey(state, ListKey::F3, false, false, false).command, ListCommand::ToggleReceived);
    EXPECT_EQ(HandleKey(state, ListKey::F3, true, false, false).command, ListCommand::PassOn);
    EXPECT_EQ(HandleKey(state, ListKey::F3, false, true, false).command, ListCommand::PassOn);
}

TEST_F(ListWindowCore, SelectingARecordEnablesWhatItHas)
{
    ShowTab(state, 0);
    RecordButtons none = SelectCurrentRow(state, state.MainList, 5);
    EXPECT_FALSE(none.recordSelected);
    EXPECT_EQ(none.printCaption, "全件印刷");
    RecordButtons buttons = SelectCurrentRow(state, state.MainList, 0);
    EXPECT_TRUE(buttons.recordSelected);
    EXPECT_EQ(buttons.printCaption, "選択印刷");
    EXPECT_FALSE(buttons.mailEnabled);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｱｵｷ");
}

TEST(TelephoneEntries, CaptionEachNumberWithItsKind)
{
    AddressRecord rec{};
    ClearRecord(rec);
    SetText(rec.Tel1, "03-1234-5678");
    SetText(rec.Tel2, "090-1111-2222");
    SetInteger(rec.PhoneKinds, 103); // 0103: TEL, FAX, TEL, 携帯
    auto entries = TelephoneEntries(rec);
    EXPECT_EQ(entries[0].caption, "住所１-ＴＥＬ　：03-1234-5678");
    EXPECT_TRUE(entries[0].enabled);
    EXPECT_EQ(entries[1].caption, "住所１-ＦＡＸ　：");
    EXPECT_FALSE(entries[1].enabled);
    EXPECT_EQ(entries[2].caption, "住所２-ＴＥＬ　：090-1111-2222");
    EXPECT_EQ(entries[3].caption, "住所２-携帯電話：");
}

TEST_F(ListWindowCore, ColumnsCarryTheirLabelsAndStoredWidths)
{
    state.tables.columns.ColEnabled = {true, true, true};
    state.settings.ColumnWidth[3] = 900;
    auto headers = ListColumnHeaders(state);
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[0].label, "カナ名");
    EXPECT_EQ(headers[1].label, "名　　前");
    EXPECT_EQ(headers[2].label, "電話番号１");
    EXPECT_EQ(headers[3].label, "電話番号２");
    EXPECT_EQ(headers[3].widthTwips, 900);
    StoreColumnWidths(state, {1200, 0, 2000, 700});
    EXPECT_EQ(state.settings.ColumnWidth[0], 1200);
    EXPECT_EQ(state.settings.ColumnWidth[1], 10);
    EXPECT_EQ(state.settings.ColumnWidth[3], 700);
}

TEST(ListWindowLayout, ASmallWindowIsRaisedToTheMinimum)
{
    auto small = LayoutForSize(3000, 2000, {0, 0, 2900, 650}, {0, 0, 6500, 650});
    auto minimum = LayoutForSize(7500, 4900, {0, 0, 2900, 650}, {0, 0, 6500, 650});
    EXPECT_EQ(small.list, minimum.list);
    EXPECT_EQ(minimum.list.width, 7500 - IndexPanelWidth - 250);
    EXPECT_GT(minimum.buttonFrame.top, minimum.jumpFrame.top); // too narrow: one under the other
    auto wide = LayoutForSize(12000, 6000, {0, 0, 2900, 650}, {0, 0, 6500, 650});
    EXPECT_EQ(wide.buttonFrame.top, wide.jumpFrame.top);
    EXPECT_EQ(wide.buttonFrame.left + wide.buttonFrame.width, 12000 - 100);
}

TEST_F(ListWindowCore, DoubleClickFollowsTheSetting)
{
    EXPECT_EQ(DoubleClickActionFor(0), DoubleClickAction::Change);
    EXPECT_EQ(DoubleClickActionFor(2), DoubleClickAction::View);
    EXPECT_EQ(DoubleClickActionFor(5), DoubleClickAction::EMail);
    EXPECT_EQ(DoubleClickActionFor(6), DoubleClickAction::Nothing);
}

} // namespace
} // namespace talik::test
