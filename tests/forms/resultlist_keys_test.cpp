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
#include "tests/support/listkeys.h"
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
    std::vector<std::string> shownReadings() { return ShownReadings(child<QTreeView>("ListView1")); }
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
    WalkFourRowsByKeys(
        child<QTreeView>("ListView1"), child<QLineEdit>("Text1"), {"ｺﾔﾏ", "ﾔﾏｸﾞﾁ", "ﾔﾏﾀﾞ", "ﾔﾏﾓﾄ"},
        [this] { return selectedReading(); }, child<QPushButton>("Command3"));
}

} // namespace
} // namespace talik::test
