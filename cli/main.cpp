#include <cstdio>

#include "cli/cliapp.h"
#include "cli/cliinfo.h"
#include "cli/helperprogram.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (auto info = talik::CliInfo(args)) {
        std::fputs(info->c_str(), stdout);
        return 0;
    }
    // print and sync run in their helpers beside us, so this program loads none of their libraries.
    return talik::RunCli(args, {talik::PrintHelperCommand(args), talik::HelperCommand(talik::SyncHelperName, args)});
}
