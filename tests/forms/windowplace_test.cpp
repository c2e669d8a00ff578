// A window reopened where it was closed stays there: the editor and the result window store the
// frame's place and put the frame back exactly, opening after opening.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "editor/TALIK01.h"
#include "search/TALIKSRC.h"
#include "store/database.h"
#include "tests/support/modal.h"
#include "tests/support/storefixture.h"

namespace talik::test {
namespace {

class WindowPlace : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        addRecord("ﾔﾏﾀﾞ");
        load();
    }
    RecordingLauncher launcher;
};

TEST_F(WindowPlace, TheEditorOpenedTenTimesKeepsItsPlace)
{
    state.settings.SearchWindow.left = 1500;
    state.settings.SearchWindow.top = 1800;
    std::vector<QPoint> places;
    for (int i = 0; i < 10; ++i) {
        state.CurRecNo = 0;
        state.EditStatus = ' ';
        TALIK01 editor(state, false);
        WhenModalShows<TALIK01>([&](TALIK01* shown) {
            QTest::qWait(20);
            places.push_back(shown->pos());
            QTest::mouseClick(shown->findChild<QPushButton*>("Command1_1"), Qt::LeftButton);
        });
        editor.exec();
    }
    ASSERT_EQ(places.size(), 10u);
    for (const QPoint& place : places) {
        EXPECT_EQ(place, places.front());
    }
    EXPECT_EQ(state.settings.SearchWindow.left, 1500);
    EXPECT_EQ(state.settings.SearchWindow.top, 1800);
}

TEST_F(WindowPlace, TheResultWindowOpenedTenTimesKeepsItsGeometry)
{
    // Whole pixels at 96 dpi (15 twips each), so that no rounding plays a part.
    state.settings.SearchWindow = {1500, 1200, 9000, 7200};
    for (int i = 0; i < 10; ++i) {
        ClearRecord(state.Rec);
        SetText(state.Rec.KanaName, "ﾔ");
        TALIKSRC window(state, launcher);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.findChild<QLabel*>("Label1")->text().size() > 0; }, 5000));
        window.close();
    }
    EXPECT_EQ(state.settings.SearchWindow.left, 1500);
    EXPECT_EQ(state.settings.SearchWindow.top, 1200);
    EXPECT_EQ(state.settings.SearchWindow.width, 9000);
    EXPECT_EQ(state.settings.SearchWindow.height, 7200);
}

} // namespace
} // namespace talik::test
