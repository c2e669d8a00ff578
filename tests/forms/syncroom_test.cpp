// The main window's sync as the program has it: the module beside the program, loaded when a sync
// is first wanted, against a real CardDAV server (Radicale) on loopback; a module that is missing
// or of another build is told to the user and the window goes on.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "app/TALIKLST.h"
#include "app/syncroomsource.h"
#include "listwin/appstate.h"
#include "sync/secretstore.h"
#include "sync/syncaccount.h"
#include "tests/support/childprocess.h"
#include "tests/support/storefixture.h"
#include "tests/sync/davserver.h"

namespace talik::test {
namespace {

const std::string BuiltModule = TALIK_SYNC_ROOM_PATH;
const std::string ForeignModule = TALIK_FOREIGN_SYNC_ROOM_PATH;
constexpr const char* CannotLoad = "同期の部品を読み込めません: ";

class OnePassword : public PasswordStore
{
public:
    SecretOutcome store(const SecretKey&, const std::string&) override { return {true, {}}; }
    SecretLookup lookup(const SecretKey&) override { return {true, std::string("secret"), {}}; }
    SecretOutcome clear(const SecretKey&) override { return {true, {}}; }
};

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string() + "/";
}

class SyncRoomWindow : public StoreTest
{
protected:
    void SetUp() override
    {
        state.ProfileFolder = dir.str();
        load();
        AddPerson(state, "ﾔﾏﾀﾞ", "山田 太郎", "yamada@example.jp");
        state.TablesLoaded = false;
    }
    // The window as talik32 makes it: the module is looked for in the program's folder.
    void openWindow(const std::string& programFolder)
    {
        state.ProgramFolder = programFolder;
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->usePasswordStore(vault);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    int toldCannotLoad() const
    {
        int told = 0;
        for (const ShownMessage& shown : ui.shown) {
            told += shown.text.rfind(CannotLoad, 0) == 0 ? 1 : 0;
        }
        return told;
    }
    std::string lastText() const { return ui.shown.empty() ? std::string() : ui.shown.back().text; }

    OnePassword vault;
    RecordingLauncher launcher;
    std::unique_ptr<TALIKLST> window;
};

TEST_F(SyncRoomWindow, TheBuiltModuleSyncsTheOpenDatabase)
{
    DavServer server(DavServer::Kind::Radicale);
    if (!server.running()) {
        GTEST_SKIP() << "no Radicale to test against";
    }
    ASSERT_TRUE(WriteSyncAccount(state, {server.book(), server.book(), server.user(), ConflictRule::Skip, ""}));
    openWindow(FolderOf(BuiltModule));

    window->menus().PPSyncNow->trigger();

    EXPECT_EQ(toldCannotLoad(), 0) << lastText();
    CardDavClient client({server.user(), server.password(), ""});
    std::string error;
    auto listing = client.list(server.book(), "", error);
    ASSERT_TRUE(listing) << error;
    EXPECT_EQ(listing->etags.size(), 1u);
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().title, "同期");
}

TEST_F(SyncRoomWindow, TheBuiltModuleOpensTheAccountDialog)
{
    openWindow(FolderOf(BuiltModule));
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            shown = dialog->objectName();
            static_cast<QDialog*>(dialog)->reject();
        }
    });

    window->menus().PPSyncSet->trigger();

    EXPECT_EQ(toldCannotLoad(), 0) << lastText();
    EXPECT_EQ(shown, "TALIKSYN");
    EXPECT_FALSE(state.Busy);
}

TEST_F(SyncRoomWindow, AMissingModuleIsToldAndTheWindowGoesOn)
{
    TempDir emptyFolder;
    openWindow(emptyFolder.str() + "/");

    window->menus().PPSyncNow->trigger();
    window->menus().PPSyncSet->trigger();

    ASSERT_EQ(toldCannotLoad(), 2);
    EXPECT_NE(lastText().find(SyncRoomModuleName), std::string::npos) << "the loader's own reason: " << lastText();
    EXPECT_EQ(ui.shown.back().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(state.Busy);
    // The rest of the window works as before.
    EXPECT_TRUE(window->isEnabled());
    window->showTab(1);
    EXPECT_EQ(state.CurrentTab, 1);
    EXPECT_EQ(window->findChild<QLabel*>("Label5")->text(), "登録数：1 件");
}

TEST_F(SyncRoomWindow, AModuleOfAnotherBuildIsRefused)
{
    openWindow(FolderOf(BuiltModule));
    window->useSyncRoom(std::make_unique<SyncRoomSource>(ForeignModule));

    window->menus().PPSyncSet->trigger();

    ASSERT_EQ(toldCannotLoad(), 1) << lastText();
    EXPECT_NE(lastText().find("このプログラムと一緒に作られたものではありません"), std::string::npos) << lastText();
    EXPECT_NE(lastText().find("another-build"), std::string::npos) << lastText();
}

TEST(SyncRoomModule, ExportsItsEntryAlone)
{
    TempDir capture;
    ProgramRun run = RunProgram({"/usr/bin/nm", "--dynamic", "--defined-only", BuiltModule}, capture.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::vector<std::string> exported;
    for (std::string line; std::getline(lines, line);) {
        exported.push_back(line.substr(line.rfind(' ') + 1));
    }
    EXPECT_EQ(exported, std::vector<std::string>{SyncRoomEntrySymbol});
}

// The libraries a program or module is linked against, as the loader reads them.
std::string NeededLibraries(const std::string& path)
{
    TempDir capture;
    ProgramRun run = RunProgram({"/usr/bin/readelf", "--dynamic", path}, capture.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return run.out;
}

TEST(SyncRoomModule, TheProgramStartsWithoutTheSyncLibraries)
{
    const std::string program = NeededLibraries(TALIK32_PATH);
    const std::string module = NeededLibraries(BuiltModule);
    for (const char* library : {"[libcurl", "[libxml2", "[libcrypto", "[libsecret"}) {
        EXPECT_EQ(program.find(library), std::string::npos) << library;
        EXPECT_NE(module.find(library), std::string::npos) << library;
    }
}

TEST(SyncRoomModule, APasswordStoreGivenBeforeTheLoadReachesTheRoom)
{
    SyncRoomSource source(BuiltModule);
    OnePassword vault;
    source.usePasswordStore(vault);
    SyncRoom* room = source.room();
    ASSERT_NE(room, nullptr) << source.failure();
    EXPECT_TRUE(source.failure().empty());
    EXPECT_EQ(source.room(), room) << "loaded once";
}

} // namespace
} // namespace talik::test
