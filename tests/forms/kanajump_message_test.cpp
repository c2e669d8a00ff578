// A kana jump that finds no name tells so only once the window shows, on screen, the tab it
// jumped to: the title and the marker must not still name the tab shown before.
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "listwin/appstate.h"
#include "listwin/currentrecord.h"
#include "store/database.h"
#include "store/record.h"
#include "tests/support/scripted.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

// Lets a test look at the window at the very moment a message appears.
class WatchingInteraction : public ScriptedInteraction
{
public:
    std::function<void()> onMessage;

    void message(const std::string& text, MessageIcon icon, const std::string& title) override
    {
        if (onMessage) {
            onMessage();
        }
        ScriptedInteraction::message(text, icon, title);
    }
};

class NoMatchJump : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.ProfileFolder = dir.str();
        state.DataPath = dir.str();
        ASSERT_EQ(LoadTables(state), LoadResult::Loaded);
        for (auto reading : {"ｱｵｷ", "ｶﾄｳ", "ｶﾅｲ"}) {
            ClearRecord(state.Rec);
            ClearRecord(state.Extra);
            SetText(state.Rec.KanaName, reading);
            state.CurRecNo = 0;
            ASSERT_TRUE(SaveCurrent(state));
        }
        state.TablesLoaded = false;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(window->loadIfNeeded());
        QTest::qWait(50); // the first paint
    }

    template <class T> T* child(const char* name) { return window->findChild<T*>(name); }
    // What the screen shows of a child of the window.
    QImage onScreen(QWidget* part)
    {
        QRect area(part->mapTo(window.get(), QPoint(0, 0)), part->size());
        return window->screen()->grabWindow(window->winId()).copy(area).toImage();
    }

    TempDir dir;
    WatchingInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(NoMatchJump, TheTitleAndMarkerNameTheNewTabWhenTheMessageAppears)
{
    ASSERT_EQ(child<QLabel>("Label1")->text(), "あ 一覧 (1件)");
    QString titleThen;
    QRect markerThen;
    QImage titleShownThen;
    QImage panelShownThen;
    ui.onMessage = [&] {
        titleThen = child<QLabel>("Label1")->text();
        markerThen = child<QLabel>("Image1")->geometry();
        titleShownThen = onScreen(child<QLabel>("Label1"));
        panelShownThen = onScreen(child<QWidget>("Picture1"));
    };
    auto* box = child<QLineEdit>("Text1");
    box->setText("ｶﾐ");
    QTest::keyClick(box, Qt::Key_Return);

    ASSERT_EQ(ui.messages(), std::vector<std::string>{"指定されたカナ名で始まる名前はありません。"});
    EXPECT_EQ(titleThen, "か 一覧 (2件)");
    EXPECT_EQ(markerThen, child<QLabel>("Image1")->geometry());
    EXPECT_EQ(state.CurrentTab, 5);
    QTest::qWait(50); // whatever was still to be painted
    EXPECT_TRUE(titleShownThen == onScreen(child<QLabel>("Label1"))) << "the old title was on screen";
    EXPECT_TRUE(panelShownThen == onScreen(child<QWidget>("Picture1"))) << "the old marker was on screen";
}

} // namespace
} // namespace talik::test
