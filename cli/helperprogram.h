#pragma once
// Two commands of talikcli run in helper programs of their own beside it: print needs Qt
// (talikcli-print for PDF files, talikcli-printer, which also loads the print system, for printers),
// sync (talikcli-sync) needs the network, TLS and secret-store libraries. Loading those dozens of
// libraries would slow every other command down.
#include <string>
#include <vector>

#include "cli/cliapp.h"

namespace talik {

inline constexpr const char* PrintHelperName = "talikcli-print";
inline constexpr const char* PrinterHelperName = "talikcli-printer";
inline constexpr const char* SyncHelperName = "talikcli-sync";

// Runs `helper` in place of this program, with `args` (talikcli's whole command line, without the
// program name) as its argument list, never through a shell: the same process, so its exit code is
// talikcli's and a signal that ends talikcli ends the helper's work too (a sync killed in the
// middle leaves no helper behind holding the database). Returns ExitRefused (the user told) only
// when it could not be started.
int RunHelperProgram(const std::string& helper, const std::vector<std::string>& args);

// The command that hands `args` to the helper program `name` in the program's own folder.
CliCommand HelperCommand(const char* name, const std::vector<std::string>& args);
// The command that hands a print command line to its helper: the one for printers when any of
// `args` names the --printer option, the one for PDF files otherwise.
CliCommand PrintHelperCommand(const std::vector<std::string>& args);

} // namespace talik
