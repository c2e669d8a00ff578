// talikcli-sync: the sync command of talikcli, which starts this program with its own command
// line. The other commands work here too, but talikcli runs them itself.
#include "cli/cliapp.h"
#include "cli/clisync.h"
#include "cli/helperprogram.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return talik::RunCli(args, {talik::PrintHelperCommand(args), talik::SyncCommand});
}
