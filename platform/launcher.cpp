#include "platform/launcher.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace talik {
namespace {

// How long openDocument waits for the opener to report a missing file or handler. An opener that
// is still running after this has handed the document over (or waits on the application).
constexpr auto OpenerVerdictWait = std::chrono::seconds(2);

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

// Blocks until `pid` ends and collects it. Its wait status, nothing when it was collected elsewhere.
std::optional<int> WaitForEnd(pid_t pid)
{
    int status = 0;
    for (;;) {
        if (waitpid(pid, &status, 0) == pid) {
            return status;
        }
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

// Collects `pid` when it ends, on a thread of its own: a started program may outlive any wait of
// ours, and an uncollected child lingers as a zombie for as long as this process runs. The child is
// waited for by its id alone, so the waits of other parts of the process are left alone.
std::shared_future<std::optional<int>> CollectWhenEnded(pid_t pid)
{
    auto ended = std::make_shared<std::promise<std::optional<int>>>();
    std::shared_future<std::optional<int>> status = ended->get_future().share();
    try {
        std::thread([pid, ended] { ended->set_value(WaitForEnd(pid)); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the program runs all the same, uncollected until we end, its verdict unknown.
        ended->set_value(std::nullopt);
    }
    return status;
}

} // namespace

bool SystemLauncher::start(const std::string& program, const std::vector<std::string>& args)
{
    auto pid = Spawn(program, args);
    if (!pid) {
        return false;
    }
    CollectWhenEnded(*pid);
    return true;
}

bool SystemLauncher::openDocument(const std::string& target)
{
    auto pid = Spawn(OpenerProgram(), {AsOpenerArgument(target)});
    if (!pid) {
        return false;
    }
    auto ended = CollectWhenEnded(*pid);
    if (ended.wait_for(OpenerVerdictWait) != std::future_status::ready) {
        return true; // still running: it has handed the document over, or waits on the application
    }
    const std::optional<int> status = ended.get();
    if (!status) {
        return true; // collected elsewhere: its verdict is lost, so it counts as handed over
    }
    return WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

} // namespace talik
