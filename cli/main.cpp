#include <cstdio>

#include "cli/cliapp.h"
#include "cli/cliinfo.h"
#include "cli/printhelper.h"
#include "listwin/appstate.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (auto info = talik::CliInfo(args)) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    // print needs Qt: its helper beside us draws it, so this program never loads Qt's libraries.
    auto print = [&args](talik::AppState& state, const talik::CliOptions&) {
        return talik::RunPrintHelper(state.ProgramFolder + talik::PrintHelperName, args);
    };
    return talik::RunCli(args, print);
}
