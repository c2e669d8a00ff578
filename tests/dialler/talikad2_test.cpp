// Talikad2 started for real, as the address book starts it: its arguments split at blanks, its
// port a pseudo-terminal named by $TALIK_COM3 on which the test plays a Hayes modem.
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

#include <QTest>

#include <gtest/gtest.h>

#include "tests/dialler/pseudoterminal.h"

extern char** environ;

namespace talik::dialler {
namespace {

using test::PseudoTerminal;

constexpr int Patience = 20000; // a cold start of a Qt program on a busy machine

class Talikad2 : public ::testing::Test
{
protected:
    ~Talikad2() override
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // Starts the dialler with `args`, offscreen, with port 3 on the test's pseudo-terminal.
    void start(std::vector<std::string> args)
    {
        args.insert(args.begin(), TALIKAD2_PATH);
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "TALIK_COM3=" + modem.slavePath()};
        for (char** e = environ; *e != nullptr; ++e) {
            std::string_view entry = *e;
            if (!entry.starts_with("QT_QPA_PLATFORM=") && !entry.starts_with("TALIK_COM3=")) {
                env.emplace_back(entry);
            }
        }
        std::vector<char*> envp;
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&m_pid, TALIKAD2_PATH, nullptr, nullptr, argv.data(), envp.data()), 0);
    }

    // The exit code once the dialler has ended within `ms`; -1 while it runs or when it crashed.
    int exitCodeWithin(int ms)
    {
        int status = 0;
        bool ended = QTest::qWaitFor([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, ms);
        if (!ended) {
            return -1;
        }
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    PseudoTerminal modem;

private:
    pid_t m_pid = 0;
};

TEST_F(Talikad2, InitialisesTheModemThenDialsNumberAndPagerMessage)
{
    start({"~00見本", "[0]0,03-1234-5678,,1234[1]3ATDP[2][3]"});
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "AT\r\n");
    modem.reply("OK\r\n");
    EXPECT_EQ(modem.readUntil("\r\n", Patience), "ATDP0,0312345678,,1234\r\n");
    // Now it waits for the user, who takes the handset and presses the button.
    EXPECT_EQ(exitCodeWithin(300), -1);
}

TEST_F(Talikad2, ForeignArgumentsEndSilently)
{
    for (std::vector<std::string> args :
         {std::vector<std::string>{}, {"--help"}, {"03-1234-5678"}, {"~00見本", "03-1234-5678[1]3ATDP[2][3]"}}) {
        start(args);
        EXPECT_EQ(exitCodeWithin(Patience), 0) << (args.empty() ? "" : args[0]);
    }
    EXPECT_EQ(modem.drain(100), "");
}

} // namespace
} // namespace talik::dialler
