#include "platform/launcher.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace talik {
namespace {

// How long openDocument waits for the opener to report a missing file or handler. An opener that
// is still running after this has handed the document over (or waits on the application).
constexpr auto OpenerVerdictWait = std::chrono::seconds(2);
constexpr auto OpenerPollStep = std::chrono::milliseconds(20);

// The spawn settings every started program gets: its own process group (so a terminal's Ctrl-C
// meant for us does not reach it), default signal handling and an empty signal mask whatever this
// process uses, and stdin from /dev/null so it never competes with us for the terminal.
class SpawnSettings
{
public:
    SpawnSettings()
    {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawnattr_init(&m_attr);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&m_attr, &none);
        posix_spawnattr_setsigdefault(&m_attr, &all);
        posix_spawnattr_setpgroup(&m_attr, 0);
        posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&m_attr);
        posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &m_actions; }
    const posix_spawnattr_t* attr() const { return &m_attr; }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attr;
};

// Starts `program` (looked up on PATH when it has no "/") with `args` as its argument list.
std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& args)
{
    if (program.empty()) {
        return std::nullopt;
    }
    // exec takes non-const strings but never writes to them.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    SpawnSettings settings;
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), settings.actions(), settings.attr(), argv.data(), environ) != 0) {
        return std::nullopt;
    }
    return pid;
}

// The opener program: $TALIK_OPENER when set (tests put a fake one there), else xdg-open.
std::string OpenerProgram()
{
    const char* opener = std::getenv("TALIK_OPENER");
    return (opener != nullptr && *opener != '\0') ? std::string(opener) : std::string("xdg-open");
}

// A target beginning with "-" would be read as an option by the opener; a URL never begins so, so
// it is a relative path and "./" keeps its meaning.
std::string AsOpenerArgument(const std::string& target)
{
    return (!target.empty() && target.front() == '-') ? "./" + target : target;
}

// Waits up to `limit` for `pid` to end. Its wait status when it ended, nothing while it still runs.
std::optional<int> WaitAtMost(pid_t pid, std::chrono::steady_clock::duration limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 && errno != EINTR) {
            return std::nullopt; // reaped elsewhere: its verdict is lost, so it counts as handed over
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(OpenerPollStep);
    }
}

} // namespace

SystemLauncher::SystemLauncher() = default;

SystemLauncher::~SystemLauncher()
{
    // Only collect what has ended: the user's programs keep running after we are gone.
    reapFinished();
}

bool SystemLauncher::start(const std::string& program, const std::vector<std::string>& args)
{
    reapFinished();
    auto pid = Spawn(program, args);
    if (!pid) {
        return false;
    }
    m_children.push_back(*pid);
    return true;
}

bool SystemLauncher::openDocument(const std::string& target)
{
    reapFinished();
    auto pid = Spawn(OpenerProgram(), {AsOpenerArgument(target)});
    if (!pid) {
        return false;
    }
    auto status = WaitAtMost(*pid, OpenerVerdictWait);
    if (!status) {
        m_children.push_back(*pid);
        return true;
    }
    return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

void SystemLauncher::reapFinished()
{
    auto finished = [](int pid) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        return done == pid || (done < 0 && errno == ECHILD);
    };
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(), finished), m_children.end());
}

} // namespace talik
