// The search-result window driven for real: its first search, refinements, batch check items,
// deleting, its keys, and the way in from the main window.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "editor/TALIKCHI.h"
#include "listwin/currentrecord.h"
#include "print/TALIKPRV.h"
#include "print/TALIKPRX.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

// Runs `then` once `done` holds, or after about five seconds. It checks between events instead of
// waiting inside a script: a script can run inside the search's own pass over pending events, and a
// wait there would never see the search finish.
void WhenTrue(std::function<bool()> done, std::function<void()> then, int triesLeft = 500)
{
    QTimer::singleShot(10, [done = std::move(done), then = std::move(then), triesLeft]() mutable {
        if (done() || triesLeft == 0) {
            then();
        } else {
            WhenTrue(std::move(done), std::move(then), triesLeft - 1);
        }
    });
}

class ResultWindow : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto [reading, company] :
             {std::pair{"ﾔﾏﾀﾞ", "山田商事"}, {"ｺﾔﾏ", "小山建設"}, {"ﾔﾏﾓﾄ", "山本商事"}, {"ｶﾄｳ", "加藤商事"}}) {
            std::int32_t recNo = addRecord(reading);
            ReadCurrent(state);
            SetText(state.Rec.Company, company);
            SetText(state.Rec.CheckItems, " 1");
            SaveCurrent(state);
            records.push_back(recNo);
        }
        load();
        conditions("ﾔﾏ");
    }

    void conditions(std::string_view reading, std::string_view company = {})
    {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, reading);
        SetText(state.Rec.Company, company);
    }
    void open()
    {
        window = std::make_unique<TALIKSRC>(state, launcher);
        window->show();
        waitForTheFirstSearch();
    }
    void waitForTheFirstSearch()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return child<QLabel>("Label1")->text().size() > 0; }, 5000));
    }
    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }
    std::string countLine() { return child<QLabel>("Label1")->text().toStdString(); }
    std::vector<std::string> readings()
    {
        std::vector<std::string> shown;
        for (const auto& item : window->results().items()) {
            shown.push_back(item.text);
        }
        return shown;
    }
    void clickRow(int row)
    {
        auto* list = child<QTreeView>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    // Answers the editor in search mode with a reading and a company condition.
    void answerEditor(QString reading, QString company = {})
    {
        WhenModalShows<TALIK01>([reading, company](TALIK01* editor) {
            editor->findChild<QLineEdit*>("Text1_0")->setText(reading);
            editor->findChild<QLineEdit*>("Text8_0")->setText(company);
            QTest::mouseClick(editor->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
        });
    }

    std::vector<std::int32_t> records;
    RecordingLauncher launcher;
    std::unique_ptr<TALIKSRC> window;
};

// Stands in for a window manager that never activates new windows.
class ActivationSwallower : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::WindowActivate; }
};

TEST_F(ResultWindow, ShowingSearchesOnceEvenWhenTheWindowIsNeverActivated)
{
    window = std::make_unique<TALIKSRC>(state, launcher);
    ActivationSwallower swallower;
    window->installEventFilter(&swallower);
    window->show();
    ASSERT_NO_FATAL_FAILURE(waitForTheFirstSearch());
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));

    // Showing the window again keeps a refined result instead of starting over.
    answerEditor("", "商事");
    QTest::mouseClick(child<QPushButton>("Command7_1"), Qt::LeftButton);
    conditions("ﾔﾏﾀﾞ"); // what a second search would narrow by
    window->hide();
    window->show();
    QCoreApplication::processEvents(); // a search would be queued, so it would have run by now
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));
}

TEST_F(ResultWindow, TheFirstSearchCountsTheHits)
{
    open();
    EXPECT_EQ(window->windowTitle().toStdString(), "検索結果");
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));
    EXPECT_EQ(countLine(), "検索件数：4 件　　該当件数：3 件");
    EXPECT_TRUE(child<QPushButton>("Command7_1")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Command9_0")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("Command3")->isEnabled());
    clickRow(0);
    EXPECT_TRUE(child<QPushButton>("Command2")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Command3")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("Command5")->isEnabled());
}

TEST_F(ResultWindow, FurtherSearchesNarrowAndExclude)
{
    open();
    answerEditor("", "商事");
    QTest::mouseClick(child<QPushButton>("Command7_1"), Qt::LeftButton);
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));
    answerEditor("ﾔﾏﾓ");
    QTest::mouseClick(child<QPushButton>("Command7_2"), Qt::LeftButton);
    EXPECT_EQ(readings(), (std::vector<std::string>{"ﾔﾏﾀﾞ"}));
    answerEditor("ｶﾄ");
    QTest::mouseClick(child<QPushButton>("Command7_0"), Qt::LeftButton);
    EXPECT_EQ(readings(), (std::vector<std::string>{"ｶﾄｳ", "ﾔﾏﾀﾞ"}));
    EXPECT_EQ(countLine(), "検索件数：4 件　　該当件数：2 件");
}

TEST_F(ResultWindow, BatchCheckItemsChangeOnlyTheTickedItemOfEveryResult)
{
    open();
    WhenModalShows<TALIKCHI>([](TALIKCHI* picker) {
        EXPECT_EQ(picker->windowTitle().toStdString(), "検索全件一括項目設定");
        auto* message = picker->findChild<QLabel*>("Label1_12");
        EXPECT_EQ(message->text().toStdString(), "一括設定したい項目をチェックしてください。");
        EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        picker->findChild<QCheckBox*>("Check1_2")->setChecked(true);
        QTest::mouseClick(picker->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("Command9_0"), Qt::LeftButton);
    auto file = ReadFileBytes(mainPath());
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::string items(file.begin() + (records[i] - 1) * 600 + 548, file.begin() + (records[i] - 1) * 600 + 563);
        bool listed = i != 3; // ｶﾄｳ is no result
        EXPECT_EQ(items, std::string(listed ? " 11" : " 1 ") + std::string(12, ' ')) << i;
    }

    WhenModalShows<TALIKCHI>([](TALIKCHI* picker) {
        EXPECT_EQ(picker->windowTitle().toStdString(), "検索全件一括項目取消し");
        picker->findChild<QCheckBox*>("Check1_1")->setChecked(true);
        QTest::mouseClick(picker->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("Command9_1"), Qt::LeftButton);
    file = ReadFileBytes(mainPath());
    EXPECT_EQ(std::string(file.begin() + (records[0] - 1) * 600 + 548, file.begin() + (records[0] - 1) * 600 + 551),
              "  1");
}

TEST_F(ResultWindow, DeletingAllResultsAsksOnceAndCloses)
{
    open();
    ui.yesNoAnswers = {true};
    QTest::mouseClick(child<QPushButton>("Command12"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ui.shown.back().text, "検索結果の全データを削除してもよろしいですか？");
    EXPECT_EQ(state.tables.TotalCount, 1);
}

TEST_F(ResultWindow, TheKanaJumpSelectsAResultAndEnterActsAsADoubleClick)
{
    open();
    auto* box = child<QLineEdit>("Text1");
    box->setFocus();
    box->setText("ﾔﾏﾓ");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text().toStdString(), "");
    auto selected = window->results().selected();
    ASSERT_TRUE(selected);
    EXPECT_EQ(window->results().at(*selected).text, "ﾔﾏﾓﾄ");
    EXPECT_TRUE(child<QPushButton>("Command3")->isEnabled());

    state.settings.DBLClickOPT = 2; // view
    WhenModalShows<TALIK01>([](TALIK01* editor) {
        EXPECT_EQ(editor->windowTitle().toStdString(), "住所録　表示");
        EXPECT_EQ(editor->findChild<QLineEdit*>("Text1_0")->text().toStdString(), "ﾔﾏﾓﾄ");
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(state.EditStatus, ' ');
}

TEST_F(ResultWindow, AChangeFromTheResultsIsReflectedInTheTablesAndTheList)
{
    open();
    clickRow(0);
    WhenModalShows<TALIK01>([](TALIK01* editor) {
        editor->findChild<QLineEdit*>("Text1_0")->setText("ｱｲﾊﾗ");
        QTest::mouseClick(editor->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_F10);
    EXPECT_EQ(state.tables.GroupCount(0), 1);
    EXPECT_TRUE(window->results().indexOf(RecordKey(records[1])).has_value());
    EXPECT_FALSE(child<QPushButton>("Command3")->isEnabled());
}

TEST_F(ResultWindow, TheMainWindowsSearchButtonLeadsHereAndBack)
{
    state.TablesLoaded = false;
    RecordingLauncher launcher;
    TALIKLST main(state, launcher, nullptr);
    main.show();
    ASSERT_TRUE(main.loadIfNeeded());
    main.showTab(35); // や
    answerEditor("ﾔﾏ");
    std::size_t found = 0;
    WhenModalShows<TALIKSRC>([&found](TALIKSRC* results) {
        auto* countLabel = results->findChild<QLabel*>("Label1");
        WhenTrue([countLabel] { return !countLabel->text().isEmpty(); },
                 [&found, results] {
                     found = results->results().size();
                     results->close();
                 });
    });
    QTest::mouseClick(main.findChild<QPushButton*>("Command7"), Qt::LeftButton);
    EXPECT_EQ(found, 3u);
    EXPECT_EQ(state.CurrentTab, 35);
    EXPECT_EQ(main.findChild<QLabel*>("Label1")->text().toStdString(), "や 一覧 (2件)");
}

TEST_F(ResultWindow, PrintingFromTheSelectedResultTakesItAndTheResultsAfterIt)
{
    open();
    ASSERT_EQ(window->results().size(), 3u);
    clickRow(1);
    child<QPushButton>("Command6_1")->click();
    auto* menu = child<QMenu>("SPM2");
    auto* postcards = child<QAction>("SPMPrt2V");
    EXPECT_EQ(postcards->text().toStdString(), "選択以降 はがき印刷");
    EXPECT_FALSE(child<QAction>("SPMPrt2X")->isVisible());
    menu->hide();
    std::string shown;
    WhenModalShows<TALIKPRV>([&](TALIKPRV* dialog) {
        shown = dialog->findChild<QLabel*>("Label1")->text().toStdString();
        dialog->reject();
    });
    postcards->trigger();
    EXPECT_EQ(shown, "1/2 件目");

    child<QPushButton>("Command6_0")->click();
    EXPECT_EQ(postcards->text().toStdString(), "検索全件 はがき印刷");
    EXPECT_TRUE(child<QAction>("SPMPrt2X")->isVisible());
    menu->hide();
    WhenModalShows<TALIKPRX>([&](TALIKPRX* dialog) {
        shown = dialog->findChild<QLabel*>("Label1")->text().toStdString();
        dialog->reject();
    });
    child<QAction>("SPMPrt2X")->trigger();
    EXPECT_EQ(shown, "1 / 1");
}

} // namespace
} // namespace talik::test
