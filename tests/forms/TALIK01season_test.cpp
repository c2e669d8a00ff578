// The editor's card-season grid driven with real clicks and keys: the last ten card years of the
// person's history shown, cells toggled in change mode and stored only by the store button, nothing
// changeable when only shown, and no grid for search conditions or a person not yet stored.
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <cstring>

#include <gtest/gtest.h>

#include "editor/TALIK01.h"
#include "editor/seasongrid.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/season.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class EditorSeason : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        state.settings.CardYear = 2026;
        recNo = addRecord("ﾔﾏﾀﾞ", "山田太郎");
        SeasonHistory history;
        history.years[2001] = {true, false, false, "古い年"}; // before the grid: must survive a store
        history.years[2025] = {true, true, false, ""};
        history.years[2026] = {false, false, true, "転居のため宛先変更"};
        ASSERT_TRUE(WriteSeasonHistory(state, identity(), history));
    }
    std::string identity()
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNo, rec, extra));
        return RecordIdentity(rec);
    }
    void open(std::int32_t curRecNo, char status, bool searchMode = false)
    {
        state.CurRecNo = curRecNo;
        state.EditStatus = status;
        editor = std::make_unique<TALIK01>(state, searchMode);
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        grid = editor->findChild<QTableWidget*>("SeasonGrid");
        ASSERT_NE(grid, nullptr);
    }
    bool shownMarked(int row, int year) { return grid->item(row, year - 2017)->text() == "●"; }
    void clickCell(int row, int year)
    {
        const QRect cell = grid->visualItemRect(grid->item(row, year - 2017));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void click(const char* name) { QTest::mouseClick(editor->findChild<QPushButton*>(name), Qt::LeftButton); }

    std::int32_t recNo = 0;
    std::unique_ptr<TALIK01> editor;
    QTableWidget* grid = nullptr;
};

TEST_F(EditorSeason, ShowsTheTenYearsEndingAtTheCardYearWithTheirMarksAndNote)
{
    open(recNo, ' ');
    ASSERT_EQ(grid->columnCount(), 10);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text().toStdString(), "2017");
    EXPECT_EQ(grid->horizontalHeaderItem(9)->text().toStdString(), "2026");
    EXPECT_EQ(grid->verticalHeaderItem(2)->text().toStdString(), "喪");
    EXPECT_TRUE(shownMarked(0, 2025));
    EXPECT_TRUE(shownMarked(1, 2025));
    EXPECT_FALSE(shownMarked(2, 2025));
    EXPECT_TRUE(shownMarked(2, 2026));
    EXPECT_FALSE(shownMarked(0, 2026));
    EXPECT_EQ(editor->findChild<QLineEdit*>("SeasonNote")->text().toStdString(), "転居のため宛先変更");
}

TEST_F(EditorSeason, ClickAndSpaceToggleAndTheStoreButtonKeepsEveryYearOutsideTheGrid)
{
    open(recNo, ' ');
    clickCell(0, 2026); // sent this year
    clickCell(1, 2025); // received last year: off again
    grid->setFocus();
    grid->setCurrentCell(2, 2020 - 2017);
    QTest::keyClick(grid, Qt::Key_Space); // mourning in 2020
    QTest::mouseClick(editor->findChild<QCheckBox*>("SeasonStop"), Qt::LeftButton);
    QLineEdit* note = editor->findChild<QLineEdit*>("SeasonNote");
    note->setText("喪中はがき受領");
    EXPECT_TRUE(shownMarked(0, 2026));
    EXPECT_FALSE(shownMarked(1, 2025));
    EXPECT_TRUE(shownMarked(2, 2020));

    click("Command1_0");
    EXPECT_FALSE(editor->isVisible());
    SeasonHistory stored = ReadSeasonHistory(state, identity());
    EXPECT_TRUE(stored.stop);
    EXPECT_EQ(stored.years[2026], (SeasonMarks{true, false, true, "喪中はがき受領"}));
    EXPECT_EQ(stored.years[2025], (SeasonMarks{true, false, false, ""}));
    EXPECT_EQ(stored.years[2020], (SeasonMarks{false, false, true, ""}));
    EXPECT_EQ(stored.years[2001], (SeasonMarks{true, false, false, "古い年"}));
}

TEST_F(EditorSeason, CancelDiscardsTheToggles)
{
    const SeasonHistory before = ReadSeasonHistory(state, identity());
    open(recNo, ' ');
    clickCell(0, 2026);
    clickCell(2, 2026);
    EXPECT_TRUE(shownMarked(0, 2026));
    click("Command1_1");
    EXPECT_EQ(ReadSeasonHistory(state, identity()), before);
}

TEST_F(EditorSeason, ViewModeShowsButChangesNothing)
{
    open(recNo, 'R');
    clickCell(0, 2026);
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_FALSE(shownMarked(0, 2026));
    EXPECT_FALSE(shownMarked(0, 2017));
    EXPECT_FALSE(editor->findChild<QCheckBox*>("SeasonStop")->isEnabled());
    EXPECT_TRUE(editor->findChild<QLineEdit*>("SeasonNote")->isReadOnly());
}

TEST_F(EditorSeason, NoGridForSearchConditionsAndNoneToChangeForANewPerson)
{
    open(0, ' ', true);
    EXPECT_FALSE(editor->findChild<SeasonGrid*>()->isVisible());
    editor.reset();
    open(0, ' ', false);
    EXPECT_FALSE(editor->findChild<SeasonGrid*>()->isEnabled());
    EXPECT_FALSE(shownMarked(2, 2026)); // the last person's marks do not show
}

TEST_F(EditorSeason, MarksForARecordWithoutAnIdentityAreRefusedAloud)
{
    AddressRecord rec{};
    ExtraRecord extra{};
    ASSERT_TRUE(ReadRecord(state, recNo, rec, extra));
    std::memcpy(rec.Reserved, "not an id  at ", sizeof(rec.Reserved)); // blanks inside: no identity
    ASSERT_TRUE(UpdateRecord(state, recNo, rec, extra));
    ASSERT_EQ(identity(), "");
    open(recNo, ' ');
    clickCell(0, 2026);
    click("Command1_0");
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back(), "このデータには年賀状の記録を保存できません。");
    EXPECT_EQ(ReadSeasonHistory(state, ""), SeasonHistory{});
}

} // namespace
} // namespace talik::test
