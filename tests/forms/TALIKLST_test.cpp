// The list window driven for real: keys, clicks, the kana jump, the buttons, databases and modes.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "store/database.h"
#include "tests/support/listkeys.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class ListWindow : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ｱｵｷ", "ｱﾍﾞ", "ｶﾄｳ", "ｶﾅｲ", "ｶﾅｻﾞﾜ", "ｷﾑﾗ", "ﾓﾘ", "ﾖｼﾀﾞ", "ﾛｰﾗ"}) {
            addRecord(reading);
        }
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }

    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }
    std::string title() { return child<QLabel>("Label1")->text().toStdString(); }
    void shiftKey(Qt::Key key) { QTest::keyClick(child<QTreeView>("ListView1"), key, Qt::ShiftModifier); }
    void jump(const QString& text)
    {
        auto* box = child<QLineEdit>("Text1");
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // The readings in the order the list shows them.
    std::vector<std::string> shownReadings() { return ShownReadings(child<QTreeView>("ListView1")); }
    // Adds records to the file and lets the window load the tables afresh.
    void reloadWith(std::initializer_list<std::string_view> readings)
    {
        for (std::string_view reading : readings) {
            addRecord(reading);
        }
        state.TablesLoaded = false;
        ASSERT_TRUE(window->loadIfNeeded());
    }
    void clickRow(int row)
    {
        auto* list = child<QTreeView>("ListView1");
        QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(ListWindow, ShiftArrowsMoveThroughTheTabGrid)
{
    struct Move
    {
        int from;
        Qt::Key key;
        int to;
    };
    for (Move move : {Move{34, Qt::Key_Down, 37}, Move{42, Qt::Key_Down, 0}, Move{39, Qt::Key_Up, 31},
                      Move{0, Qt::Key_Up, 44}, Move{44, Qt::Key_Right, 0}, Move{0, Qt::Key_Left, 44}}) {
        window->showTab(move.from);
        shiftKey(move.key);
        EXPECT_EQ(state.CurrentTab, move.to) << "from " << move.from;
    }
    EXPECT_EQ(title(), "他 一覧 (0件)");
}

TEST_F(ListWindow, RowModeWrapsAndItsCountTabsDoNothing)
{
    window->switchListMode(1);
    EXPECT_EQ(title(), "あ行 一覧");
    window->showTab(8);
    shiftKey(Qt::Key_Right);
    EXPECT_EQ(state.CurrentTab, 0);
    auto* countTab = child<QLabel>("Label2_10");
    EXPECT_EQ(countTab->text(), "4 件");
    QTest::mouseClick(countTab, Qt::LeftButton);
    EXPECT_EQ(state.CurrentTab, 0);
    QTest::mouseClick(child<QLabel>("Label2_1"), Qt::LeftButton);
    EXPECT_EQ(state.CurrentTab, 1);
    EXPECT_EQ(child<QTreeView>("ListView1")->model()->rowCount(), 4);
}

TEST_F(ListWindow, ClickingTheShownTabDoesNotRefillTheList)
{
    clickRow(1);
    EXPECT_TRUE(child<QPushButton>("Command1")->isEnabled());
    QTest::mouseClick(child<QLabel>("Label2_0"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>("Command1")->isEnabled()); // a refill would have cleared the selection
    QTest::mouseClick(child<QLabel>("Label2_5"), Qt::LeftButton);
    EXPECT_FALSE(child<QPushButton>("Command1")->isEnabled());
    EXPECT_EQ(title(), "か 一覧 (3件)");
}

TEST_F(ListWindow, KanaJumpFindsTheFirstReadingInKatakanaOrHiragana)
{
    for (QString typed : {"ｶﾅ", "かな"}) {
        window->showTab(0);
        jump(typed);
        EXPECT_EQ(child<QLineEdit>("Text1")->text(), "ｶﾅ");
        EXPECT_EQ(state.CurrentTab, 5);
        auto* list = child<QTreeView>("ListView1");
        ASSERT_TRUE(list->currentIndex().isValid());
        EXPECT_EQ(list->currentIndex().data().toString(), "ｶﾅｲ");
        EXPECT_TRUE(list->selectionModel()->isRowSelected(list->currentIndex().row(), {}));
        EXPECT_TRUE(child<QPushButton>("Command1")->isEnabled());
    }
    EXPECT_TRUE(ui.messages().empty());
    jump("ｶﾐ");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"指定されたカナ名で始まる名前はありません。"});
    EXPECT_TRUE(child<QLineEdit>("Text1")->isEnabled());
}

TEST_F(ListWindow, EnterWithoutJumpTextActsAsADoubleClick)
{
    state.settings.DBLClickOPT = 4; // the print menu
    clickRow(0);
    auto* box = child<QLineEdit>("Text1");
    box->setFocus();
    box->clear();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(window->menus().PPM6.menu->isVisible());
    window->menus().PPM6.menu->hide();
    EXPECT_EQ(state.CurrentTab, 0);
}

TEST_F(ListWindow, SelectingEnablesTheRecordButtonsAndDeletingDisablesThem)
{
    auto* remove = child<QPushButton>("Command1");
    auto* print = child<QPushButton>("Command9");
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(print->text(), "全件印刷");
    clickRow(0);
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Command5")->isEnabled());
    EXPECT_EQ(print->text(), "選択印刷");

    ui.yesNoAnswers = {true};
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(ui.shown.back().title, "削除確認");
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(print->text(), "全件印刷");
    EXPECT_EQ(title(), "あ 一覧 (1件)");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "登録数：8 件");
    EXPECT_EQ(child<QTreeView>("ListView1")->model()->rowCount(), 1);
}

TEST_F(ListWindow, TheTelephoneMenuCarriesTheRecordsNumbers)
{
    clickRow(0);
    QTest::mouseClick(child<QPushButton>("Command5"), Qt::LeftButton);
    EXPECT_TRUE(window->menus().PPM7.menu->isVisible());
    EXPECT_EQ(window->menus().PPM7.entries[0]->text(), "住所１-ＴＥＬ　：");
    window->menus().PPM7.menu->hide();
}

TEST_F(ListWindow, TheWindowIsNeverSmallerThanItsMinimum)
{
    window->resize(100, 100);
    QSize minimum = window->minimumSize();
    EXPECT_GE(window->width(), minimum.width());
    EXPECT_GE(window->height(), minimum.height());
    EXPECT_EQ(minimum.width(), 500); // 7500 twips at 96 dots per inch
}

TEST_F(ListWindow, ACancelledPasswordOnSwitchingFallsBackToTheOpenDatabase)
{
    auto header = HandMainHeader(1);
    const std::uint8_t stored[] = {7, 4, 11, 8, 11, 9}; // "AB"
    std::copy(std::begin(stored), std::end(stored), header.begin() + 330);
    WriteRecords(dir.str() + "/MRPDAT02.QX1", {header});
    ui.passwordAnswers = {std::nullopt};
    window->menus().PMDB[1]->trigger();
    EXPECT_EQ(state.DbNo, 1);
    EXPECT_EQ(child<QLabel>("Label3")->text(), "データベース1");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "登録数：9 件");

    ui.passwordAnswers = {"AB"};
    window->menus().PMDB[1]->trigger();
    EXPECT_EQ(state.DbNo, 2);
    EXPECT_EQ(child<QLabel>("Label3")->text(), "データベース2");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "登録数：0 件");
}

TEST_F(ListWindow, TheStatusLineHintsAtItsMenuForASecond)
{
    auto* status = child<QLabel>("Label5");
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(status, &enter);
    EXPECT_EQ(status->text(), "環境設定 他");
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text() == "登録数：9 件"; }, 3000));
}

TEST_F(ListWindow, EveryTabShowsItsRowsByReadingFromTheStart)
{
    reloadWith({"ｱﾗｲ", "ｱｲｶﾜ", "ｶｲ"});
    EXPECT_EQ(shownReadings(), (std::vector<std::string>{"ｱｲｶﾜ", "ｱｵｷ", "ｱﾍﾞ", "ｱﾗｲ"}));
    QTest::mouseClick(child<QLabel>("Label2_5"), Qt::LeftButton);
    EXPECT_EQ(shownReadings(), (std::vector<std::string>{"ｶｲ", "ｶﾄｳ", "ｶﾅｲ", "ｶﾅｻﾞﾜ"}));
    window->switchListMode(1);
    QTest::mouseClick(child<QLabel>("Label2_1"), Qt::LeftButton);
    EXPECT_EQ(shownReadings(), (std::vector<std::string>{"ｶｲ", "ｶﾄｳ", "ｶﾅｲ", "ｶﾅｻﾞﾜ", "ｷﾑﾗ"}));
}

TEST_F(ListWindow, RowModeCountsIncludeARecordAddedInIndividualMode)
{
    WhenModalShows<TALIK01>([](TALIK01* editor) {
        editor->findChild<QLineEdit*>("Text1_0")->setText("ｶｲ");
        editor->findChild<QLineEdit*>("Text1_1")->setText("甲斐");
        QTest::mouseClick(editor->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_EQ(state.tables.GroupCount(5), 4);
    window->menus().PMList[1]->trigger();
    EXPECT_EQ(child<QLabel>("Label2_9")->text(), "2 件");
    EXPECT_EQ(child<QLabel>("Label2_10")->text(), "5 件");
    EXPECT_EQ(child<QLabel>("Label5")->text(), "登録数：10 件");
}

TEST_F(ListWindow, ArrowAndPageKeysLeaveTheJumpBoxAndThenMoveThroughTheList)
{
    reloadWith({"ｶﾞｸ"});
    window->showTab(5);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* list = child<QTreeView>("ListView1");
    auto* box = child<QLineEdit>("Text1");
    auto selectedReading = [this] {
        auto selected = state.MainList.selected();
        return selected ? state.MainList.at(*selected).text : std::string("(none)");
    };

    box->setText("ｶ");
    const std::array<std::string, 4> group{"ｶﾄｳ", "ｶﾅｲ", "ｶﾅｻﾞﾜ", "ｶﾞｸ"};
    WalkFourRowsByKeys(list, box, group, selectedReading, child<QPushButton>("Command1"));
    EXPECT_EQ(box->text(), ""); // Down in the jump box emptied it

    box->setFocus();
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentIndex().row(), 0); // from the jump box the key only focuses the list
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(state.CurrentTab, 10); // Shift+Down still moves through the tabs
}

TEST_F(ListWindow, WhileBusyTheWindowTakesNoInputAndAfterwardsItDoes)
{
    auto* list = child<QTreeView>("ListView1");
    const ListMenus& menus = window->menus();
    // Clicks as the windowing system delivers them: to the window first, which moves the focus.
    auto click = [this](QWidget* part, QPoint at) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, part->mapTo(window.get(), at));
    };
    auto clickLabel = [&](const char* name) {
        auto* label = child<QLabel>(name);
        click(label, label->rect().center());
    };
    state.Busy = true;
    QTest::keyClick(list, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_F6);
    clickLabel("Label2_5");
    clickLabel("Label3");
    clickLabel("Label1");
    click(list->viewport(), list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(state.CurrentTab, 0);
    EXPECT_FALSE(menus.PPM2->isVisible());
    EXPECT_FALSE(menus.PPM3->isVisible());
    EXPECT_FALSE(state.MainList.selected().has_value());
    EXPECT_FALSE(child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(window->isEnabled()); // refused, not greyed out
    menus.PMDB[1]->trigger();         // a switch that arrives all the same
    EXPECT_EQ(state.DbNo, 1);
    QDialog question(window.get()); // what an import may ask meanwhile
    auto* answer = new QLineEdit(&question);
    question.show();
    QTest::keyClicks(answer, "ok");
    EXPECT_EQ(answer->text(), "ok");
    question.hide();

    state.Busy = false;
    click(list->viewport(), list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(state.MainList.selected(), 1u);
    clickLabel("Label2_5");
    EXPECT_EQ(state.CurrentTab, 5);
    QTest::keyClick(list, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(state.CurrentTab, 6);
    clickLabel("Label3");
    EXPECT_TRUE(menus.PPM2->isVisible());
    menus.PPM2->hide();
}

} // namespace
} // namespace talik::test
