// "起動時と終了時に同期": the main window syncs once its first database is shown and again when the
// program ends, against a real CardDAV server (Radicale) on loopback.
#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "app/syncroomsource.h"
#include "platform/profile.h"
#include "store/recordwriter.h"
#include "store/settings.h"
#include "sync/secretstore.h"
#include "sync/syncaccount.h"
#include "sync/syncroomwindows.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

class KeptPassword : public PasswordStore
{
public:
    explicit KeptPassword(std::string password) : m_password(std::move(password)) {}
    SecretOutcome store(const SecretKey&, const std::string&) override { return {true, {}}; }
    SecretLookup lookup(const SecretKey&) override { return {true, m_password, {}}; }
    SecretOutcome clear(const SecretKey&) override { return {true, {}}; }

private:
    std::string m_password;
};

class SyncAtStartAndExit : public StoreTest
{
protected:
    void SetUp() override
    {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale);
        if (!server->running()) {
            GTEST_SKIP() << "no Radicale to test against";
        }
        state.ProfileFolder = dir.str();
        load();
        ASSERT_TRUE(WriteSyncAccount(state, {server->book(), server->book(), server->user(), ConflictRule::Skip, ""}));
        AddPerson(state, "ﾔﾏﾀﾞ", "山田 太郎", "yamada@example.jp");
        state.TablesLoaded = false;
    }
    void openWindow()
    {
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->useSyncRoom(std::make_unique<SyncRoomSource>(MakeSyncRoom()));
        window->usePasswordStore(vault);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    int serverCards()
    {
        CardDavClient client({server->user(), server->password(), ""});
        std::string error;
        auto listing = client.list(server->book(), "", error);
        return listing ? static_cast<int>(listing->etags.size()) : -1;
    }
    int summariesTold()
    {
        int told = 0;
        for (const ShownMessage& shown : ui.shown) {
            told += shown.title == "同期" ? 1 : 0;
        }
        return told;
    }

    std::unique_ptr<DavServer> server;
    KeptPassword vault{"secret"};
    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST(SyncAtStartAndExitOption, IsWrittenOnlyOnceSetAndNeedsAnAccount)
{
    TempDir dir;
    ScriptedInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
    state.ProfileFolder = dir.str();
    ASSERT_TRUE(WriteSettings(state.settings, SettingsFile(dir.str()), state.Mode));
    EXPECT_FALSE(ProfileDocument::load(SettingsFile(dir.str())).value(SettingsSection(0), "SyncAtStartAndExit"));
    EXPECT_FALSE(ReadSyncAtStartAndExit(state));
    ASSERT_TRUE(WriteSyncAtStartAndExit(state, true));
    EXPECT_TRUE(ReadSyncAtStartAndExit(state));
    EXPECT_FALSE(SyncsAtStartAndExit(state)) << "no account yet";
    ASSERT_TRUE(WriteSyncAccount(state, {"https://dav.example.jp/", "", "alice", ConflictRule::Skip, ""}));
    EXPECT_TRUE(SyncsAtStartAndExit(state));
    // The other settings written at the end keep it.
    ASSERT_TRUE(WriteSettings(state.settings, SettingsFile(dir.str()), state.Mode));
    EXPECT_TRUE(SyncsAtStartAndExit(state));
    ASSERT_TRUE(WriteSyncAtStartAndExit(state, false));
    EXPECT_FALSE(SyncsAtStartAndExit(state));
}

TEST_F(SyncAtStartAndExit, OffTheWindowSyncsNothingByItself)
{
    openWindow();
    QTest::qWait(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(summariesTold(), 0);
    EXPECT_EQ(serverCards(), 0);
    EXPECT_FALSE(window->menus().PPSyncAuto->isChecked());
}

TEST_F(SyncAtStartAndExit, OnTheFirstDatabaseShownIsSyncedAndAgainAtTheEnd)
{
    openWindow();
    window->menus().PPSyncAuto->trigger(); // the user ticks the entry
    EXPECT_TRUE(ReadSyncAtStartAndExit(state));
    window.reset();
    state.TablesLoaded = false;

    openWindow();
    EXPECT_TRUE(window->menus().PPSyncAuto->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return summariesTold() == 1; }, 30000));
    EXPECT_EQ(serverCards(), 1);

    AddPerson(state, "ｻﾄｳ", "佐藤 花子", "sato@example.jp");
    state.settings.End_Check = 1; // no question before the end
    QSignalSpy ends(window.get(), &TALIKLST::programEnds);
    window->requestExit();
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(summariesTold(), 2);
    EXPECT_EQ(serverCards(), 2);
}

} // namespace
} // namespace talik::test
