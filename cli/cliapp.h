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

// Runs one command line (without the program name); output goes to standard output, messages to
// standard error. `print` runs the print command: talikcli hands it to its helper program, the
// helper draws it. Returns the exit code.
int RunCli(const std::vector<std::string>& args, const CliCommand& print);

} // namespace talik
