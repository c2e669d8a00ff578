#pragma once
// What the tests of both list windows read off a list and the walk a person takes through a list
// of four rows with the arrow, page and Home/End keys, starting in the window's jump box.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace talik::test {

// The readings in the order the list shows them.
inline std::vector<std::string> ShownReadings(const QTreeView* list)
{
    const auto* model = list->model();
    std::vector<std::string> readings;
    for (int row = 0; row < model->rowCount(); ++row) {
        readings.push_back(model->index(row, 0).data().toString().toStdString());
    }
    return readings;
}

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
