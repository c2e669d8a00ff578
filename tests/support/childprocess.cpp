#include "tests/support/childprocess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/tempdir.h"

extern char** environ;

namespace talik::test {
namespace {

std::vector<char*> ArgumentVector(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

} // namespace

int StartProgram(const std::vector<std::string>& args)
{
    std::vector<char*> argv = ArgumentVector(args);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << args[0];
        return -1;
    }
    return pid;
}

int WaitForProgram(int pid)
{
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

void StopProgram(int pid)
{
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    constexpr auto Grace = std::chrono::seconds(5);
    const auto until = std::chrono::steady_clock::now() + Grace;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= until) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ProgramRun RunProgram(const std::vector<std::string>& args,
                      const std::filesystem::path& captureFolder,
                      const std::filesystem::path& input)
{
    std::vector<char*> argv = ArgumentVector(args);
    std::string outFile = (captureFolder / "out").string();
    std::string errFile = (captureFolder / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProgramRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << args[0];
        return run;
    }
    run.exitCode = WaitForProgram(pid);
    run.out = ReadFileText(outFile);
    run.err = ReadFileText(errFile);
    return run;
}

} // namespace talik::test
