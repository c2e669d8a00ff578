#include "cli/helperprogram.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

#include "cli/cliapp.h"
#include "listwin/appstate.h"

extern char** environ;

namespace talik {
namespace {

// Whatever we have written so far comes before the helper's output.
void FlushOurOutput()
{
    std::fflush(stdout);
    std::fflush(stderr);
}

int WaitFor(pid_t pid, int& status)
{
    for (;;) {
        if (waitpid(pid, &status, 0) == pid) {
            return 0;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

} // namespace

int RunHelperProgram(const std::string& helper, const std::vector<std::string>& args)
{
    // exec takes non-const strings but never writes to them.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(helper.c_str()));
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    FlushOurOutput();
    pid_t pid = 0;
    if (posix_spawn(&pid, helper.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "%s を起動できません。\n", helper.c_str());
        return ExitRefused;
    }
    int status = 0;
    if (WaitFor(pid, status) != 0 || !WIFEXITED(status)) {
        std::fprintf(stderr, "%s が異常終了しました。\n", helper.c_str());
        return ExitRefused;
    }
    return WEXITSTATUS(status);
}

CliCommand HelperCommand(const char* name, const std::vector<std::string>& args)
{
    return
        [name, args](AppState& state, const CliOptions&) { return RunHelperProgram(state.ProgramFolder + name, args); };
}

} // namespace talik
