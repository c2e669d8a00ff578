// The card season in the list windows driven for real: the 年賀 column on and off, F3 toggling 受
// on the selected row, the filters narrowing the shown tab, the year's summary, and the search
// result narrowed by the same filters.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "platform/profile.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "store/identity.h"
#include "store/recordwriter.h"
#include "store/season.h"
#include "store/settings.h"
#include "tests/support/listkeys.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class SeasonWindow : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ｱｵｷ", "ｱﾍﾞ", "ｱﾗｲ", "ｱﾝﾄﾞｳ"}) {
            recNos.push_back(addRecord(reading));
        }
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    QTreeView* list() { return window->findChild<QTreeView*>("ListView1"); }
    std::string identity(std::size_t i)
    {
        AddressRecord rec{};
        ExtraRecord extra{};
        EXPECT_TRUE(ReadRecord(state, recNos[i], rec, extra));
        return RecordIdentity(rec);
    }
    QString lastHeader()
    {
        return list()->model()->headerData(list()->model()->columnCount() - 1, Qt::Horizontal).toString();
    }
    // The 年賀 cell of each shown row, by reading.
    std::vector<std::string> marks()
    {
        std::vector<std::string> shown;
        QAbstractItemModel* model = list()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            shown.push_back(model->index(row, 0).data().toString().toStdString() + ":" +
                            model->index(row, model->columnCount() - 1).data().toString().toStdString());
        }
        return shown;
    }
    void clickRow(int row)
    {
        QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void filter(int entry) { window->menus().PMSeasonFilterN[static_cast<std::size_t>(entry)]->trigger(); }

    std::vector<std::int32_t> recNos;
    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(SeasonWindow, TheViewAddsTheColumnAfterTheOthersAndIsRememberedForTheMode)
{
    const int columns = list()->model()->columnCount();
    ASSERT_TRUE(MarkSeason(state, {identity(1)}, 2027, SeasonMark::Sent, true));
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 2027, SeasonMark::Mourning, true));
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 0, SeasonMark::Stop, true));

    window->menus().PMSeason->trigger();
    EXPECT_EQ(list()->model()->columnCount(), columns + 1);
    EXPECT_EQ(lastHeader(), "年賀");
    EXPECT_EQ(marks(), (std::vector<std::string>{"ｱｵｷ:", "ｱﾍﾞ:送", "ｱﾗｲ:喪止", "ｱﾝﾄﾞｳ:"}));
    EXPECT_EQ(ProfileDocument::load(SettingsFile(state.ProfileFolder)).value(SettingsSection(state.Mode), "SeasonView"),
              "1");

    window->menus().PPM3->popup({0, 0});
    EXPECT_TRUE(window->menus().PMSeason->isChecked());
    EXPECT_TRUE(window->menus().PMSeasonFilter->isEnabled());
    window->menus().PPM3->hide();

    window->menus().PMSeason->trigger();
    EXPECT_EQ(list()->model()->columnCount(), columns);
    EXPECT_NE(lastHeader(), "年賀");
    EXPECT_EQ(state.settings.SeasonView, 0);
}

TEST_F(SeasonWindow, F3TogglesReceivedOnTheSelectedRowAndOnlyInTheView)
{
    clickRow(1);
    QTest::keyClick(list(), Qt::Key_F3);
    EXPECT_EQ(ReadSeasonYear(state, 2027).marks.size(), 0u) << "without the view F3 is no command";

    window->menus().PMSeason->trigger();
    clickRow(1);
    QTest::keyClick(list(), Qt::Key_F3);
    EXPECT_EQ(marks()[1], "ｱﾍﾞ:受");
    ASSERT_NE(ReadSeasonYear(state, 2027).of(identity(1)), nullptr);
    EXPECT_TRUE(ReadSeasonYear(state, 2027).of(identity(1))->received);
    EXPECT_EQ(list()->currentIndex().row(), 1) << "the selection stays on the record";
    QRect cell = list()->visualRect(list()->model()->index(1, list()->model()->columnCount() - 1));
    EXPECT_TRUE(list()->viewport()->rect().contains(cell)) << "the mark just set is in sight";

    QTest::keyClick(list(), Qt::Key_F3);
    EXPECT_EQ(marks()[1], "ｱﾍﾞ:");
    EXPECT_FALSE(ReadSeasonYear(state, 2027).of(identity(1)) && ReadSeasonYear(state, 2027).of(identity(1))->received);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(SeasonWindow, FiltersNarrowTheShownTabAndNoneBringsEveryRowBack)
{
    ASSERT_TRUE(MarkSeason(state, {identity(0), identity(1)}, 2027, SeasonMark::Sent, true));
    ASSERT_TRUE(MarkSeason(state, {identity(1), identity(2)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(MarkSeason(state, {identity(3)}, 2027, SeasonMark::Mourning, true));
    window->menus().PMSeason->trigger();

    filter(1); // 今年の宛先
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱﾗｲ"}));
    filter(2); // 送った人
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱｵｷ", "ｱﾍﾞ"}));
    filter(3); // 届いた人
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱﾍﾞ", "ｱﾗｲ"}));
    filter(4); // 返信が必要
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱﾗｲ"}));

    // Answering the card: the row leaves the list of those still owed a reply once it is sent.
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 2027, SeasonMark::Sent, true));
    filter(4);
    EXPECT_EQ(ShownReadings(list()), std::vector<std::string>{});

    filter(5); // 喪中
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱﾝﾄﾞｳ"}));
    // Received toggled off under 届いた人 takes the row out.
    filter(3);
    clickRow(0);
    QTest::keyClick(list(), Qt::Key_F3);
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱﾗｲ"}));
    filter(0);
    EXPECT_EQ(ShownReadings(list()), (std::vector<std::string>{"ｱｵｷ", "ｱﾍﾞ", "ｱﾗｲ", "ｱﾝﾄﾞｳ"}));
}

TEST_F(SeasonWindow, TheSummaryCountsTheCardYear)
{
    ASSERT_TRUE(MarkSeason(state, {identity(0), identity(1)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(MarkSeason(state, {identity(0)}, 2027, SeasonMark::Sent, true));
    ASSERT_TRUE(MarkSeason(state, {identity(3)}, 2027, SeasonMark::Mourning, true));
    ASSERT_TRUE(MarkSeason(state, {identity(2)}, 2026, SeasonMark::Sent, true));
    window->menus().PMSeasonSum->trigger();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "2027 年　送：1 件　受：2 件　返信が必要：1 件　喪中：1 件");
    EXPECT_EQ(ui.shown[0].title, "年賀状の集計");
    EXPECT_EQ(ui.shown[0].icon, MessageIcon::Information);
}

TEST_F(SeasonWindow, TheSearchResultIsNarrowedByTheCardMarks)
{
    ASSERT_TRUE(MarkSeason(state, {identity(1), identity(3)}, 2027, SeasonMark::Received, true));
    ASSERT_TRUE(MarkSeason(state, {identity(3)}, 2027, SeasonMark::Sent, true));
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ｱ");
    TALIKSRC results(state, launcher);
    results.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return results.results().size() == 4; }, 5000));
    auto* button = results.findChild<QPushButton*>("CommandSeason");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    results.findChild<QAction*>("SPMSeason_3")->trigger(); // 返信が必要
    ASSERT_EQ(results.results().size(), 1u);
    EXPECT_EQ(results.results().at(0).text, "ｱﾍﾞ");
    EXPECT_EQ(results.findChild<QLabel*>("Label1")->text().toStdString(), "検索件数：4 件　　該当件数：1 件");
    results.findChild<QAction*>("SPMSeason_1")->trigger(); // 送った人: nobody left
    EXPECT_TRUE(results.results().empty());
    EXPECT_FALSE(button->isEnabled());
}

} // namespace
} // namespace talik::test
