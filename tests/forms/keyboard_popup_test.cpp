// The record popup of both lists opens from the keyboard: the context-menu key and Shift+F10 open
// it at the selected row, as the right mouse button does, and do nothing without a selected row.
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "listwin/listmenus.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class KeyboardPopup : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ｱｵｷ", "ｱﾍﾞ", "ｱﾗｲ"}) {
            addRecord(reading);
        }
        load();
    }
    static void clickRow(QTreeView* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    // Presses the key on the list, checks the popup opened beside the row, and closes it.
    static void expectPopupAtRow(QTreeView* list, QMenu* menu, int row, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(list, key, modifiers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000)) << "key " << key;
        const QRect rowRect = list->visualRect(list->model()->index(row, 0));
        const QPoint rowTop = list->viewport()->mapToGlobal(rowRect.topLeft());
        EXPECT_NEAR(menu->pos().y(), rowTop.y() + rowRect.height(), rowRect.height());
        menu->hide();
    }

    RecordingLauncher launcher;
};

TEST_F(KeyboardPopup, MenuKeyAndShiftF10OpenTheRecordPopupInTheListWindow)
{
    state.TablesLoaded = false;
    TALIKLST window(state, launcher, nullptr);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    auto* list = window.findChild<QTreeView*>("ListView1");
    QMenu* menu = window.menus().PPM4.menu;

    QTest::keyClick(list, Qt::Key_Menu);
    QApplication::processEvents();
    EXPECT_FALSE(menu->isVisible()); // no row selected yet

    clickRow(list, 2);
    expectPopupAtRow(list, menu, 2, Qt::Key_Menu, Qt::NoModifier);
    expectPopupAtRow(list, menu, 2, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(GetText(state.Rec.KanaName), "ｱﾗｲ"); // the popup's commands act on that record
}

TEST_F(KeyboardPopup, MenuKeyAndShiftF10OpenTheRecordPopupInTheResultWindow)
{
    ClearRecord(state.Rec);
    SetText(state.Rec.KanaName, "ｱ");
    TALIKSRC window(state, launcher);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.findChild<QLabel*>("Label1")->text().size() > 0; }, 5000));
    auto* list = window.findChild<QTreeView*>("ListView1");
    QMenu* menu = window.recordMenu().menu;

    clickRow(list, 1);
    expectPopupAtRow(list, menu, 1, Qt::Key_Menu, Qt::NoModifier);
    expectPopupAtRow(list, menu, 1, Qt::Key_F10, Qt::ShiftModifier);
}

} // namespace
} // namespace talik::test
