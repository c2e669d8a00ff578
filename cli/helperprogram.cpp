#include "cli/helperprogram.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "cli/cliapp.h"
#include "listwin/appstate.h"

namespace talik {

int RunHelperProgram(const std::string& helper, const std::vector<std::string>& args)
{
    // exec takes non-const strings but never writes to them.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(helper.c_str()));
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    // Whatever we have written so far comes before the helper's output.
    std::fflush(stdout);
    std::fflush(stderr);
    ::execv(helper.c_str(), argv.data());
    std::fprintf(stderr, "%s を起動できません。\n", helper.c_str());
    return ExitRefused;
}

CliCommand HelperCommand(const char* name, const std::vector<std::string>& args)
{
    return
        [name, args](AppState& state, const CliOptions&) { return RunHelperProgram(state.ProgramFolder + name, args); };
}

CliCommand PrintHelperCommand(const std::vector<std::string>& args)
{
    const bool printer = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "--printer" || arg.starts_with("--printer=");
    });
    return HelperCommand(printer ? PrinterHelperName : PrintHelperName, args);
}

} // namespace talik
