#pragma once
// Runs another program for a test: an argument list, never a shell; its output kept in files.
#include <filesystem>
#include <string>
#include <vector>

namespace talik::test {

struct ProgramRun
{
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs `args[0]` with `args`, standard input from `input`, output captured in `captureFolder`.
ProgramRun RunProgram(const std::vector<std::string>& args,
                      const std::filesystem::path& captureFolder,
                      const std::filesystem::path& input = "/dev/null");

// Starts `args[0]` with `args` and returns at once, for programs that must run side by side; its
// output goes where the test's own goes. The process id, or -1 when it did not start.
// Where the tests that watch a program's system calls find strace; they step aside without it.
inline constexpr const char* StracePath = "/usr/bin/strace";

int StartProgram(const std::vector<std::string>& args);
// Waits for a started program: its exit code, -1 when it did not exit normally.
int WaitForProgram(int pid);
// Asks a started program to end (SIGTERM) and waits for it; one that has not ended after a few seconds
// is killed, so that a server missing the request cannot hang the test.
void StopProgram(int pid);

} // namespace talik::test
