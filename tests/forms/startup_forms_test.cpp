// The start-up form and the list window's first load and closing path, on real widgets.
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/TALIKIN.h"
#include "app/TALIKLST.h"
#include "listwin/appstate.h"
#include "tests/support/scripted.h"
#include "tests/support/storefixture.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

// Lets the real window events run when the program would, so that the splash's timers tick.
class LiveInteraction : public ScriptedInteraction
{
public:
    void processEvents() override
    {
        ++eventsRun;
        QApplication::processEvents();
    }
};

class StartupForms : public ::testing::Test
{
protected:
    StartupForms()
    {
        std::filesystem::create_directories(dir.path() / "data");
        writeSettings("[System]\r\nDBPathAddr=" + dir.str() + "/data\r\n");
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.ProfileFolder = dir.str();
    }

    void writeSettings(const std::string& text) { std::ofstream(dir.path() / "QXSCH.INI") << text; }
    std::string settingsText()
    {
        auto bytes = ReadFileBytes(dir.path() / "QXSCH.INI");
        return std::string(bytes.begin(), bytes.end());
    }

    // Gives database `dbNo` an empty main file whose header carries the password "AB" (salt 7:
    // digits 4 1 4 2, each plus 7).
    void protectWithPasswordAB(int dbNo)
    {
        auto header = HandMainHeader(1);
        const std::uint8_t stored[] = {7, 4, 11, 8, 11, 9};
        Put(header, 330, "", 30);
        std::copy(std::begin(stored), std::end(stored), header.begin() + 330);
        WriteRecords(MainFileName(dir.str() + "/data", dbNo), {header});
    }

    TempDir dir;
    LiveInteraction ui;
    FixedClock clock;
    RecordingLauncher launcher;
    AppState state{ui, clock};
};

TEST_F(StartupForms, TheSplashReadsTheSettingsAndGoesWhenLoadingBegins)
{
    TALIKIN splash(state, launcher);
    splash.start();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(state.SplashDone);
    EXPECT_EQ(state.DataPath, dir.str() + "/data");
    EXPECT_EQ(splash.findChild<QLabel*>("Label2")->text(), "Version 7.01");
    QColor first = splash.findChild<QLabel*>("Label1")->palette().color(QPalette::WindowText);
    EXPECT_EQ(first, QColor(0x00, 0xFF, 0x00));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return splash.findChild<QLabel*>("Label1")->palette().color(QPalette::WindowText) != first; }, 2000));

    state.LoadBegun = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.SplashDone; }, 2000));
    EXPECT_FALSE(splash.isVisible());

    // Its window went with it. Asked for the version, it comes back, and OK closes it again.
    EXPECT_EQ(splash.windowHandle(), nullptr);
    bool shownAgain = false;
    QTimer::singleShot(0, &splash, [&] {
        shownAgain = splash.isVisible() && splash.windowHandle() != nullptr;
        splash.findChild<QPushButton*>("Command1")->click();
    });
    splash.showVersion();
    EXPECT_TRUE(shownAgain);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.windowHandle(), nullptr);
}

TEST_F(StartupForms, WithoutATrayTheTraySettingIsOffForTheRun)
{
    writeSettings("[System]\r\nTaskTray=1\r\nDBPathAddr=" + dir.str() + "/data\r\n");
    TALIKIN splash(state, launcher);
    splash.start();
    EXPECT_TRUE(state.TrayMode);
    EXPECT_EQ(splash.trayIcon(), nullptr); // the offscreen desktop has no tray
    EXPECT_TRUE(state.ExitRequested);
}

// Counts the paints a widget gets.
class PaintCount : public QObject
{
public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

TEST_F(StartupForms, TheListLoadsWithoutWaitingForTheSplashWhichGoesAsTheLoadBegins)
{
    TALIKIN splash(state, launcher);
    splash.start();
    TALIKLST window(state, launcher, &splash);
    window.setEnabled(false);
    QObject::connect(&splash, &TALIKIN::splashClosed, &window, [&window] { window.setEnabled(true); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The splash goes as soon as the load has begun, so the controls it enables are drawn once, in
    // the paint the first tab's fill lets run, not once disabled and again after the fill.
    PaintCount tabPaints(window.findChild<QWidget*>("Label2_20"));
    ASSERT_TRUE(window.loadIfNeeded());
    EXPECT_EQ(window.findChild<QLabel*>("Label5")->text(), "登録数：0 件");
    EXPECT_TRUE(state.SplashDone);
    EXPECT_FALSE(splash.isVisible());
    QTest::qWait(50);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(tabPaints.count, 1);
}

// The list window open on database 1, which carries a password that was given at start.
class PasswordStart : public StartupForms
{
protected:
    void SetUp() override
    {
        protectWithPasswordAB(1);
        splash.start();
        splash.closeSplash();
        window = std::make_unique<TALIKLST>(state, launcher, &splash);
        window->show();
        ui.passwordAnswers = {"AB"};
        ASSERT_TRUE(window->loadIfNeeded());
    }
    TALIKIN splash{state, launcher};
    std::unique_ptr<TALIKLST> window;
};

TEST_F(PasswordStart, CancellingThePasswordWhenTheSameDatabaseReloadsEndsTheProgram)
{
    // The list columns changed; the prompt of the reload is cancelled. A second prompt would be
    // the fault: it is answered so that the test ends either way.
    QSignalSpy ends(window.get(), &TALIKLST::programEnds);
    state.TablesLoaded = false;
    ui.passwordAnswers = {std::nullopt, "AB"};
    EXPECT_FALSE(window->loadIfNeeded());
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(ui.passwordAnswers.size(), 1u);
}

TEST_F(PasswordStart, CancellingBothPromptsOfADatabaseSwitchEndsTheProgram)
{
    // Database 2's prompt is cancelled, then that of database 1 fallen back to: nothing is left to
    // show, so the program ends instead of showing a window without a database.
    protectWithPasswordAB(2);
    QSignalSpy ends(window.get(), &TALIKLST::programEnds);
    ui.passwordAnswers = {std::nullopt, std::nullopt};
    window->switchDatabase(1);
    EXPECT_EQ(ends.count(), 1);
}

class ListWindowClosing : public StartupForms
{
protected:
    void SetUp() override
    {
        TALIKIN splash(state, launcher);
        splash.start();
        splash.closeSplash();
        window = std::make_unique<TALIKLST>(state, launcher, nullptr);
        window->show();
        ASSERT_TRUE(window->loadIfNeeded());
    }
    std::unique_ptr<TALIKLST> window;
};

TEST_F(ListWindowClosing, TheFirstLoadShowsTheDatabaseAndItsCount)
{
    EXPECT_EQ(window->windowTitle(), "Rinmaro (Ver. 7.01) Mode 00");
    EXPECT_EQ(window->findChild<QLabel*>("Label3")->text(), "データベース1");
    EXPECT_EQ(window->findChild<QLabel*>("Label5")->text(), "登録数：0 件");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "data" / "MRPDAT01.QX1"));
}

TEST_F(ListWindowClosing, NoKeepsItOpenYesWritesTheSettingsAndEnds)
{
    ui.yesNoAnswers = {false};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Ｍｉｒｅｐｏｌを終了しますか？");

    ui.yesNoAnswers = {true};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    std::string written = settingsText();
    EXPECT_NE(written.find("Addr0Width="), std::string::npos);
    EXPECT_NE(written.find("AddrDBAct=1"), std::string::npos);
    EXPECT_NE(written.find("DBPathAddr=" + dir.str() + "/data"), std::string::npos); // kept
}

TEST_F(ListWindowClosing, EndCheckEndsWithoutTheQuestion)
{
    state.settings.End_Check = 1;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ListWindowClosing, WithTheTrayClosingHidesWithoutWriting)
{
    state.ExitRequested = false;
    std::string before = settingsText();
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settingsText(), before);
    window->bringToFront();
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace talik::test
