#pragma once
// The command line of talikcli: global options, a command and its arguments.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talik {

// The --name=value options of a command, in the order given.
using FieldOptions = std::vector<std::pair<std::string, std::string>>;

// Where the database password comes from. Text on the command line is seen by every user in the
// process list; a file or standard input is not.
struct PasswordOption
{
    enum class Source
    {
        Text,          // --password TEXT
        File,          // --password-file FILE: its first line
        StandardInput, // --password -: its first line
    };
    Source source = Source::Text;
    std::string value; // the text, or the file's name
};

struct CliOptions
{
    std::optional<std::string> dataFolder;  // --data DIR
    int dbNo = 1;                           // --db N (1-10)
    std::optional<PasswordOption> password; // --password TEXT|-, --password-file FILE
    int mode = 0;                           // --mode N: whose settings section is read (0-99)
    std::string command;
    std::vector<std::string> arguments; // plain arguments of the command
    FieldOptions fields;                // --Field=value of "add"
    std::vector<FieldOptions> searches; // the options of each search of "search", split at "then"
};

// A valued option found at args[i]: its name, and its value (nullopt when the value is missing).
struct ValuedOption
{
    std::string name;
    std::optional<std::string> value;
};

// Reads args[i] when it is one of `names`, as "--name=value" or "--name value" (i then moves on to
// the value); nullopt when args[i] is none of them. Every command's options are read this way.
std::optional<ValuedOption>
TakeValuedOption(const std::vector<std::string>& args, std::size_t& i, std::initializer_list<std::string_view> names);

// Parses the arguments; on a usage error returns nullopt and sets `error`.
// Whether a command reads its own options (some with a value) from its arguments.
bool TakesOwnOptions(const std::string& command);

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// The whole number `text` is, nothing before or after it; false for anything else.
bool ParseWholeNumber(std::string_view text, std::int32_t& value);

// A whole number from `low` to `high`; nullopt for anything else.
std::optional<std::int32_t> NumberIn(std::string_view text, std::int32_t low, std::int32_t high);

// The usage text printed on a usage error.
const char* CliUsage();

} // namespace talik
