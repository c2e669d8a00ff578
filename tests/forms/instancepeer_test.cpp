// The single-instance guard answers only copies of its own user: its name lives in the abstract
// socket namespace, where there are no file permissions to keep other users out.
#include <QSignalSpy>
#include <QTest>

#include <cstddef>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/instance.h"

namespace talik::test {
namespace {

constexpr uid_t Nobody = 65534;

// In a child process, as `uid`: connects to the abstract `name`, asks for the raise and exits 1
// when the answer came, 0 when it did not. Only system calls after the fork.
pid_t AskAs(uid_t uid, const std::string& name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    if (setuid(uid) != 0) {
        _exit(2);
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        _exit(3);
    }
    send(fd, "raise\n", 6, MSG_NOSIGNAL);
    char reply[8] = {};
    pollfd entry{fd, POLLIN, 0};
    const bool answered =
        poll(&entry, 1, 5000) > 0 && recv(fd, reply, sizeof(reply), 0) == 3 && std::memcmp(reply, "ok\n", 3) == 0;
    _exit(answered ? 1 : 0);
}

// The child's exit code, with the guard's events handled meanwhile.
int ExitCodeOf(pid_t child)
{
    int status = 0;
    const bool ended = QTest::qWaitFor([&] { return waitpid(child, &status, WNOHANG) == child; }, 10000);
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class GuardPeers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (getuid() != 0) {
            GTEST_SKIP() << "acting as another user needs root";
        }
        ASSERT_TRUE(guard.listen());
    }

    const std::string name = "talik32-peer-test-" + std::to_string(getpid());
    InstanceGuard guard{QString::fromStdString(name)};
    QSignalSpy raised{&guard, &InstanceGuard::raiseRequested};
};

TEST_F(GuardPeers, ACopyOfTheSameUserIsAnswered)
{
    EXPECT_EQ(ExitCodeOf(AskAs(getuid(), name)), 1);
    EXPECT_EQ(raised.count(), 1);
}

TEST_F(GuardPeers, AnotherUserIsNotAnswered)
{
    EXPECT_EQ(ExitCodeOf(AskAs(Nobody, name)), 0);
    EXPECT_EQ(raised.count(), 0);
}

} // namespace
} // namespace talik::test
