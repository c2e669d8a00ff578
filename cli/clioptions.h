#pragma once
// The command line of talikcli: global options, a command and its arguments.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talik {

struct CliOptions
{
    std::optional<std::string> dataFolder; // --data DIR
    int dbNo = 1;                          // --db N (1-10)
    std::optional<std::string> password;   // --password TEXT
    std::string command;
    std::vector<std::string> arguments;                      // plain arguments of the command
    std::vector<std::pair<std::string, std::string>> fields; // --Field=value of "add"
};

// Parses the arguments; on a usage error returns nullopt and sets `error`.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// The usage text printed on a usage error.
const char* CliUsage();

} // namespace talik
