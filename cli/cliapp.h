#pragma once
// talikcli: the address book's core from the command line.
#include <string>
#include <vector>

namespace talik {

enum CliExit
{
    ExitDone = 0,
    ExitRefused = 1, // locked, wrong password, missing record, nothing written
    ExitUsage = 2,
};

// Runs one command line (without the program name); output goes to standard output, messages to
// standard error. Returns the exit code.
int RunCli(const std::vector<std::string>& args);

} // namespace talik
