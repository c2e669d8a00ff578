// Copies of the address book started for real: one per mode, a second copy hands over to the first.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/paths.h"
#include "tests/support/tempdir.h"

namespace talik::test {
namespace {

class Copies : public ::testing::Test
{
protected:
    Copies()
    {
        std::filesystem::create_directories(dir.path() / "data");
        std::ofstream(dir.path() / "QXSCH.INI") << "[System]\r\nDBPathAddr=" << dir.str() << "/data\r\n";
    }

    ~Copies() override
    {
        for (pid_t pid : started) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // Starts talik32 with `args`, its settings in the test's folder, on the offscreen desktop.
    pid_t start(std::vector<std::string> args)
    {
        args.insert(args.begin(), TALIK32_PATH);
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "TALIK_WINDIR=" + dir.str(), "HOME=" + dir.str(),
                                     "XDG_RUNTIME_DIR=" + dir.str()};
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, TALIK32_PATH, nullptr, nullptr, argv.data(), envp.data()), 0);
        started.push_back(pid);
        return pid;
    }

    QString nameOf(int mode) const
    {
        return QString::fromStdString(InstanceName(std::to_string(getuid()), dir.str(), mode));
    }

    // True once a copy of `mode` answers.
    bool answers(int mode)
    {
        return QTest::qWaitFor(
            [&] {
                QLocalSocket socket;
                socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
                socket.connectToServer(nameOf(mode));
                return socket.waitForConnected(200);
            },
            20000);
    }

    // The exit code of `pid` once it ends within `ms`, or -1.
    int exitCodeWithin(pid_t pid, int ms)
    {
        int status = 0;
        bool ended = QTest::qWaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, ms);
        if (!ended) {
            return -1;
        }
        started.erase(std::remove(started.begin(), started.end(), pid), started.end());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool running(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

    TempDir dir;
    std::vector<pid_t> started;
};

TEST_F(Copies, ASecondCopyAsksTheFirstToComeForwardAndEnds)
{
    QLocalServer first;
    first.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    ASSERT_TRUE(first.listen(nameOf(5)));
    pid_t second = start({"-05abc"});
    ASSERT_TRUE(first.waitForNewConnection(20000));
    QLocalSocket* socket = first.nextPendingConnection();
    ASSERT_TRUE(socket->canReadLine() || socket->waitForReadyRead(5000));
    EXPECT_EQ(socket->readLine(), "raise\n");
    socket->write("ok\n");
    socket->flush();
    EXPECT_EQ(exitCodeWithin(second, 10000), 0);
}

TEST_F(Copies, TheSameModeTwiceKeepsOnlyTheFirst)
{
    pid_t first = start({});
    ASSERT_TRUE(answers(0));
    pid_t second = start({});
    EXPECT_EQ(exitCodeWithin(second, 20000), 0);
    EXPECT_TRUE(running(first));
}

TEST_F(Copies, DifferentModesRunSideBySide)
{
    pid_t zero = start({});
    pid_t one = start({"-01"});
    EXPECT_TRUE(answers(0));
    EXPECT_TRUE(answers(1));
    EXPECT_TRUE(running(zero));
    EXPECT_TRUE(running(one));
}

TEST_F(Copies, AKilledCopyDoesNotBlockTheNextStart)
{
    pid_t first = start({"-02"});
    ASSERT_TRUE(answers(2));
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    started.clear();
    pid_t next = start({"-02"});
    EXPECT_TRUE(answers(2));
    EXPECT_TRUE(running(next));
}

} // namespace
} // namespace talik::test
