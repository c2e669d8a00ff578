// The search-result list as a person meets it: in reading order, and moved through with the
// arrow and page keys.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class ResultList : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        for (auto reading : {"ﾔﾏﾓﾄ", "ﾔﾏﾀﾞ", "ｺﾔﾏ", "ｶﾄｳ", "ﾔﾏｸﾞﾁ"}) {
            addRecord(reading);
        }
        load();
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, "ﾔﾏ");
        window = std::make_unique<TALIKSRC>(state, launcher);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !child<QLabel>("Label1")->text().isEmpty(); }, 5000));
    }

    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }
    std::vector<std::string> shownReadings()
    {
        auto* model = child<QTreeView>("ListView1")->model();
        std::vector<std::string> readings;
        for (int row = 0; row < model->rowCount(); ++row) {
            readings.push_back(model->index(row, 0).data().toString().toStdString());
        }
        return readings;
    }
    std::string selectedReading()
    {
        auto selected = window->results().selected();
        return selected ? window->results().at(*selected).text : std::string("(none)");
    }

    RecordingLauncher launcher;
    std::unique_ptr<TALIKSRC> window;
};

TEST_F(ResultList, TheHitsShowInReadingOrder)
{
    EXPECT_EQ(shownReadings(), (std::vector<std::string>{"ｺﾔﾏ", "ﾔﾏｸﾞﾁ", "ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"}));
}

TEST_F(ResultList, ArrowAndPageKeysLeaveTheJumpBoxAndThenMoveThroughTheList)
{
    auto* list = child<QTreeView>("ListView1");
    auto* box = child<QLineEdit>("Text1");
    auto currentRow = [list] { return list->currentIndex().row(); };

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedReading(), "ｺﾔﾏ");

    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(selectedReading(), "ﾔﾏｸﾞﾁ");
    EXPECT_TRUE(list->selectionModel()->isRowSelected(1, {}));
    EXPECT_TRUE(child<QPushButton>("Command3")->isEnabled());
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(currentRow(), 3);
    EXPECT_EQ(selectedReading(), "ﾔﾏﾓﾄ");
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(selectedReading(), "ﾔﾏﾀﾞ");
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedReading(), "ｺﾔﾏ");
    QTest::keyClick(list, Qt::Key_PageDown);
    EXPECT_EQ(currentRow(), 3); // one page holds every hit
    EXPECT_EQ(selectedReading(), "ﾔﾏﾓﾄ");
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedReading(), "ｺﾔﾏ");
}

} // namespace
} // namespace talik::test
