// talikcli-print: the print command of talikcli, which starts this program with its own command
// line. The other commands work here too, but talikcli runs them itself.
#include "cli/cliapp.h"
#include "cli/cliprint.h"

int main(int argc, char** argv)
{
    return talik::RunCli(std::vector<std::string>(argv + 1, argv + argc), talik::PrintCommand);
}
