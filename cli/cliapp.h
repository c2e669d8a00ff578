#pragma once
// talikcli: the address book's core from the command line.
#include <functional>
#include <string>
#include <vector>

namespace talik {

struct AppState;
struct CliOptions;

enum CliExit
{
    ExitDone = 0,
    ExitRefused = 1, // locked, wrong password, missing record, nothing written
    ExitUsage = 2,
};

// Tells what is wrong with the command line, then the usage; returns ExitUsage.
int UsageError(const std::string& error);

// A command, run on the state set up for the command line; returns the exit code.
using CliCommand = std::function<int(AppState&, const CliOptions&)>;

// The commands that run in a helper program: the helper passes its own, the others start it.
struct HelperCommands
{
    CliCommand print;
    CliCommand sync;
};

// Runs one command line (without the program name); output goes to standard output, messages to
// standard error. Returns the exit code.
int RunCli(const std::vector<std::string>& args, const HelperCommands& helpers);

} // namespace talik
