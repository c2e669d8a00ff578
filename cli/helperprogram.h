#pragma once
// Two commands of talikcli run in helper programs of their own beside it: print (talikcli-print)
// needs Qt, sync (talikcli-sync) needs the network, TLS and secret-store libraries. Loading those
// dozens of libraries would slow every other command down.
#include <string>
#include <vector>

#include "cli/cliapp.h"

namespace talik {

inline constexpr const char* PrintHelperName = "talikcli-print";
inline constexpr const char* SyncHelperName = "talikcli-sync";

// Runs `helper` with `args` (talikcli's whole command line, without the program name) as its
// argument list, never through a shell; its standard input, output and error are ours. Waits for it
// and returns its exit code, or ExitRefused (the user told) when it could not be started or did
// not end normally.
int RunHelperProgram(const std::string& helper, const std::vector<std::string>& args);

// The command that hands `args` to the helper program `name` in the program's own folder.
CliCommand HelperCommand(const char* name, const std::vector<std::string>& args);

} // namespace talik
