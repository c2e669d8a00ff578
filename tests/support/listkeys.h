#pragma once
// The walk a person takes through a list of four rows with the arrow, page and Home/End keys,
// starting in the window's jump box; shared by the tests of both list windows.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <array>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace talik::test {

// `readings` are the four rows in the order shown; `selectedReading` is the reading of the record
// the window has selected; `recordButton` is a button that needs a selected record.
inline void WalkFourRowsByKeys(QTreeView* list,
                               QLineEdit* jumpBox,
                               const std::array<std::string, 4>& readings,
                               const std::function<std::string()>& selectedReading,
                               QPushButton* recordButton)
{
    auto expectAt = [&](int row) {
        EXPECT_EQ(list->currentIndex().row(), row);
        EXPECT_EQ(selectedReading(), readings[row]);
    };
    jumpBox->setFocus();
    QTest::keyClick(jumpBox, Qt::Key_Down);
    EXPECT_TRUE(list->hasFocus());
    expectAt(0);

    QTest::keyClick(list, Qt::Key_Down);
    expectAt(1);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(1, {}));
    EXPECT_TRUE(recordButton->isEnabled());
    QTest::keyClick(list, Qt::Key_End);
    expectAt(3);
    QTest::keyClick(list, Qt::Key_Up);
    expectAt(2);
    QTest::keyClick(list, Qt::Key_Home);
    expectAt(0);
    QTest::keyClick(list, Qt::Key_PageDown);
    expectAt(3); // one page holds all four rows
    QTest::keyClick(list, Qt::Key_PageUp);
    expectAt(0);
}

} // namespace talik::test
