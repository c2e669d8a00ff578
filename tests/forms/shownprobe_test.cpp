// The start-up watcher: what it takes from the environment, when it tells that the list is shown
// (never before the rows are painted with the splash gone and the window taking keys), and the real
// program telling it to a reader at the other end of a socket.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "app/TALIKIN.h"
#include "app/TALIKLST.h"
#include "app/shownprobe.h"
#include "listwin/appstate.h"
#include "tests/support/scripted.h"
#include "tests/support/storefixture.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

TEST(ShownFd, OnlyADecimalNumberNamesADescriptor)
{
    EXPECT_EQ(ShownFdOf("3"), 3);
    EXPECT_EQ(ShownFdOf("17"), 17);
    EXPECT_EQ(ShownFdOf(nullptr), std::nullopt);
    EXPECT_EQ(ShownFdOf(""), std::nullopt);
    EXPECT_EQ(ShownFdOf("3x"), std::nullopt);
    EXPECT_EQ(ShownFdOf(" 3"), std::nullopt);
    EXPECT_EQ(ShownFdOf("-1"), std::nullopt);
    EXPECT_EQ(ShownFdOf("fd"), std::nullopt);
}

// What is waiting to be read on `fd` within `ms`.
std::string PendingOn(int fd, int ms)
{
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, ms) <= 0) {
        return {};
    }
    char buffer[64];
    const ssize_t got = read(fd, buffer, sizeof(buffer));
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

class EventfulInteraction : public ScriptedInteraction
{
public:
    void processEvents() override { QApplication::processEvents(); }
};

// Two people in the first tab's group, the settings pointing at their data folder.
class ProbeFolder : public ::testing::Test
{
protected:
    ProbeFolder()
    {
        std::filesystem::create_directories(dir.path() / "data");
        std::ofstream(dir.path() / "QXSCH.INI") << settings;
        state.ProgramFolder = dir.str() + "/";
        state.WritableFolder = dir.str() + "/";
        state.ProfileFolder = dir.str();
        state.DataPath = dir.str() + "/data";
        AddPerson(state, "ｱｵｷ", "青木 一郎");
        AddPerson(state, "ｱﾍﾞ", "阿部 花子");
    }

    std::string settingsText() const
    {
        std::ifstream in(dir.path() / "QXSCH.INI", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TempDir dir;
    const std::string settings = "[System]\r\nDBPathAddr=" + dir.str() + "/data\r\n";
    EventfulInteraction ui;
    FixedClock clock;
    AppState state{ui, clock};
};

// The windows wired as the program wires them, the watcher writing into a pipe.
class ProbeOnWindows : public ProbeFolder
{
protected:
    ProbeOnWindows()
    {
        EXPECT_EQ(pipe(pipeEnds), 0);
        QObject::connect(&splash, &TALIKIN::splashClosed, &window, [this] { window.setEnabled(true); });
        list = window.findChild<QTreeView*>("ListView1");
        probe = new ShownProbe(pipeEnds[1], state, window, *list->viewport(), [this] { ++finished; });
        QObject::connect(&window, &TALIKLST::listFilled, probe, &ShownProbe::listFilled);
        QObject::connect(&splash, &TALIKIN::splashClosed, probe, &ShownProbe::conditionsChanged, Qt::QueuedConnection);
    }
    ~ProbeOnWindows() override { close(pipeEnds[0]); }

    // What the probe has queued runs, and nothing else: no timer, no window event.
    void runProbesQueue() { QCoreApplication::sendPostedEvents(probe, QEvent::MetaCall); }

    int pipeEnds[2] = {-1, -1};
    RecordingLauncher launcher;
    TALIKIN splash{state, launcher};
    TALIKLST window{state, launcher, &splash};
    QTreeView* list = nullptr;
    ShownProbe* probe = nullptr;
    int finished = 0;
};

TEST_F(ProbeOnWindows, NothingIsToldBeforeTheFirstTabIsFilled)
{
    window.show();
    list->viewport()->repaint(); // an empty list, the tables not yet loaded
    runProbesQueue();

    EXPECT_EQ(PendingOn(pipeEnds[0], 0), "");
    EXPECT_EQ(finished, 0);
}

TEST_F(ProbeOnWindows, NothingIsToldWhileTheSplashStillShows)
{
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    state.SplashDone = false;    // as if the splash still showed
    list->viewport()->repaint(); // the rows painted, but behind the splash
    runProbesQueue();

    EXPECT_EQ(PendingOn(pipeEnds[0], 0), "");
    EXPECT_EQ(finished, 0);
}

TEST_F(ProbeOnWindows, NothingIsToldWhileTheWindowTakesNoKeys)
{
    window.setEnabled(false);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    list->viewport()->repaint();
    runProbesQueue();

    EXPECT_EQ(PendingOn(pipeEnds[0], 0), "");
    EXPECT_EQ(finished, 0);
}

TEST_F(ProbeOnWindows, ALastConditionMetAfterThePaintBringsAPaintOfItsOwn)
{
    QObject::disconnect(&window, &TALIKLST::listFilled, probe, &ShownProbe::listFilled);
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    // Everything painted and quiet: the probe only hears that the tab is filled afterwards.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    ASSERT_EQ(finished, 0);

    probe->listFilled();
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished == 1; }, 5000));
    EXPECT_EQ(PendingOn(pipeEnds[0], 0), ShownLine);
}

TEST_F(ProbeOnWindows, TheLineComesAfterTheRowsArePaintedWithTheSplashGone)
{
    window.setEnabled(false);
    splash.start();
    window.show();
    ASSERT_TRUE(window.loadIfNeeded());
    // The splash went as the load began; the window then paints afresh.
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished == 1; }, 5000));

    EXPECT_EQ(PendingOn(pipeEnds[0], 0), ShownLine);
    EXPECT_TRUE(state.SplashDone);
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(list->model()->rowCount(), 2);
    QApplication::processEvents();
    EXPECT_EQ(finished, 1); // told once
}

// The program itself, started with one end of a socket pair as its descriptor 3.
class ProbedProgram : public ProbeFolder
{
protected:
    ~ProbedProgram() override
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(reader);
    }

    void start(const std::string& shownFd)
    {
        int pair[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
        reader = pair[0];
        std::vector<std::string> args{TALIK32_PATH};
        std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "TALIK_WINDIR=" + dir.str(), "HOME=" + dir.str(),
                                     "XDG_RUNTIME_DIR=" + dir.str(), "TALIK_SHOWN_FD=" + shownFd};
        std::vector<char*> argv{args[0].data(), nullptr};
        std::vector<char*> envp;
        for (auto& entry : env) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pair[1], 3);
        ASSERT_EQ(posix_spawn(&pid, TALIK32_PATH, &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(pair[1]);
    }

    // The exit code once the program ends within `ms`, else -1.
    int exitCodeWithin(int ms)
    {
        int status = 0;
        if (!QTest::qWaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, ms)) {
            return -1;
        }
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid = -1;
    int reader = -1;
};

TEST_F(ProbedProgram, TellsTheReaderWaitsForItToHangUpAndEndsWritingNothing)
{
    start("3");
    EXPECT_EQ(PendingOn(reader, 30000), ShownLine);
    EXPECT_EQ(exitCodeWithin(300), -1); // still there for the reader to look at
    shutdown(reader, SHUT_RDWR);
    EXPECT_EQ(exitCodeWithin(10000), 0);
    EXPECT_EQ(settingsText(), settings); // the ending path, which writes the settings, never ran
}

// Up with its list painted, the program has read no image but its own PNGs, with the reader it ships:
// none of the system's image plugins (JPEG, GIF, ...) was loaded to ask about them.
TEST_F(ProbedProgram, StartsWithoutLoadingAnyImagePlugin)
{
    start("3");
    ASSERT_EQ(PendingOn(reader, 30000), ShownLine);
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
    EXPECT_NE(mapped.find("libQt6Gui"), std::string::npos); // the map was read
    EXPECT_EQ(mapped.find("/imageformats/"), std::string::npos);
}

TEST_F(ProbedProgram, AMalformedDescriptorLeavesTheProgramAsItIs)
{
    start("3 ");
    EXPECT_EQ(PendingOn(reader, 3000), "");
    EXPECT_EQ(exitCodeWithin(0), -1); // running on as the user started it
}

} // namespace
} // namespace talik::test
