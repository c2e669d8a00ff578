#pragma once
// talikcli print runs in a helper program of its own, talikcli-print beside talikcli: printing is
// the one command that needs Qt, and loading Qt's libraries would slow every other command down.
#include <string>
#include <vector>

namespace talik {

inline constexpr const char* PrintHelperName = "talikcli-print";

// Runs `helper` with `args` (talikcli's whole command line, without the program name) as its
// argument list, never through a shell; its standard input, output and error are ours. Waits for it
// and returns its exit code, or ExitRefused (the user told) when it could not be started or did
// not end normally.
int RunPrintHelper(const std::string& helper, const std::vector<std::string>& args);

} // namespace talik
