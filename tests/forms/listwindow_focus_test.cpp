// Where the keyboard is in the list window: the jump box at start-up (after the splash enabled the
// window), the list after Shift+arrow changed the tab, no record selected after a new one was
// stored, and a jump to a reading the list files in the other group.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "editor/TALIK01.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class ListWindowFocus : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ｱｵｷ", "ｱﾍﾞ", "ｶﾄｳ", "ﾝｼﾞｬﾒﾅ"}) {
            addRecord(reading);
        }
        state.TablesLoaded = false;
    }
    void open(bool disabledFirst = false)
    {
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->setEnabled(!disabledFirst); // as the start-up splash keeps it until it closes
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(window->loadIfNeeded());
    }
    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }
    void clickRow(int row)
    {
        auto* list = child<QTreeView>("ListView1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(ListWindowFocus, AtStartUpTheFocusIsInTheJumpBoxAndTypedKanaGoThere)
{
    open(true);
    window->setEnabled(true);
    QApplication::processEvents();
    auto* jump = child<QLineEdit>("Text1");
    EXPECT_EQ(window->focusWidget(), jump);
    QTest::keyClicks(QApplication::focusWidget(), "abc");
    EXPECT_EQ(jump->text(), "abc");
}

TEST_F(ListWindowFocus, ShiftArrowChangesTheTabAndLeavesTheFocusInTheList)
{
    open();
    auto* list = child<QTreeView>("ListView1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(state.CurrentTab, 1);
    EXPECT_EQ(QApplication::focusWidget(), list); // not 検索, which Space would click
}

TEST_F(ListWindowFocus, AfterANewRecordNoRowIsSelectedAndF10OpensNothing)
{
    open();
    clickRow(1);
    ASSERT_TRUE(child<QPushButton>("Command2")->isEnabled());
    WhenModalShows<TALIK01>([](TALIK01* editor) {
        editor->findChild<QLineEdit*>("Text1_0")->setText("ｱｲ");
        editor->findChild<QLineEdit*>("Text1_1")->setText("相");
        QTest::mouseClick(editor->findChild<QPushButton*>("Command1_0"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    ASSERT_EQ(state.tables.GroupCount(0), 3);
    EXPECT_FALSE(state.MainList.selected());
    for (const char* name : {"Command1", "Command2", "Command5"}) {
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    }
    bool editorOpened = false;
    WhenModalShows<TALIK01>([&](TALIK01* editor) {
        editorOpened = true;
        editor->reject();
    });
    QTest::keyClick(child<QTreeView>("ListView1"), Qt::Key_F10);
    QTest::qWait(100);
    EXPECT_FALSE(editorOpened);
}

TEST_F(ListWindowFocus, AReadingBeginningWithNJumpsToTheOtherGroup)
{
    open();
    auto* jump = child<QLineEdit>("Text1");
    jump->setFocus();
    jump->setText("ﾝｼﾞ");
    QTest::keyClick(jump, Qt::Key_Return);
    EXPECT_EQ(state.CurrentTab, 44);
    EXPECT_EQ(child<QLabel>("Label1")->text(), "他 一覧 (1件)");
    ASSERT_TRUE(state.MainList.selected());
    EXPECT_EQ(ui.messages().size(), 0u);
}

TEST_F(ListWindowFocus, APressInTheJumpBoxSelectsTextAndNeverMovesTheWindow)
{
    open();
    int moves = 0;
    QObject::connect(window.get(), &TALIKLST::windowMoveStarted, [&] { ++moves; });
    auto* jump = child<QLineEdit>("Text1");
    jump->setText("ｱｲｳｴｵｶｷｸ");
    const int y = jump->height() / 2;
    QTest::mousePress(jump, Qt::LeftButton, {}, QPoint(4, y));
    QTest::mouseMove(jump, QPoint(jump->width() - 4, y));
    QTest::mouseRelease(jump, Qt::LeftButton, {}, QPoint(jump->width() - 4, y));
    EXPECT_EQ(moves, 0);
    EXPECT_FALSE(jump->selectedText().isEmpty());
    QTest::mousePress(child<QLabel>("Label6"), Qt::LeftButton); // the caption beside it is background
    EXPECT_EQ(moves, 1);
}

} // namespace
} // namespace talik::test
