#include "cli/cliinfo.h"

#include "app/startup.h"
#include "cli/clioptions.h"

namespace talik {

std::optional<std::string> CliInfo(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        return std::nullopt;
    }
    if (args[0] == "--help") {
        return std::string(CliUsage());
    }
    if (args[0] == "--version") {
        return "talikcli " + std::string(AppVersion) + "\n";
    }
    return std::nullopt;
}

} // namespace talik
