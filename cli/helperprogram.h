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

// Runs `helper` in place of this program, with `args` (talikcli's whole command line, without the
// program name) as its argument list, never through a shell: the same process, so its exit code is
// talikcli's and a signal that ends talikcli ends the helper's work too (a sync killed in the
// middle leaves no helper behind holding the database). Returns ExitRefused (the user told) only
// when it could not be started.
int RunHelperProgram(const std::string& helper, const std::vector<std::string>& args);

// The command that hands `args` to the helper program `name` in the program's own folder.
CliCommand HelperCommand(const char* name, const std::vector<std::string>& args);

} // namespace talik
