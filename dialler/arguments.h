#pragma once
// The dialler's command line: "~00", the callee's name, " [0]", the number, "[1]", one port digit,
// the dial prefix, "[2]", the modem initialisation string, "[3]". The address book builds it by
// plain concatenation, so the markers are found by position, not by any quoting.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talik::dialler {

struct DialArguments
{
    std::string name;       // the callee, trimmed
    std::string number;     // as passed: outside-line prefix, the number, ",," and a pager message
    std::string dialDigits; // the number with only 0-9 , # * left
    std::string port;       // exactly one character (empty when the text ends after "[1]")
    std::string dialPrefix; // "ATDT" or "ATDP"
    std::string initString; // empty when there is none to send
};

// The program's arguments (without its own name) as the one text they were split from: joined with
// single blanks.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The fields of the argument text; nullopt for foreign arguments (not starting with "~", shorter
// than two characters) and for arguments without the markers "[0]" and "[1]" in that order. On
// nullopt the program ends silently.
std::optional<DialArguments> ParseArguments(std::string_view text);

// The characters a modem dials: digits, "," (a pause), "#" and "*". Hyphens, blanks and full-width
// digits go.
std::string DialDigits(std::string_view number);

// The port number the port character stands for; 0 (no port) when it is not a digit.
int PortNumber(std::string_view port);

// The callee line of the window: the number up to its first ",," (a pager message is never shown),
// then the name with "さん".
std::string CalleeCaption(const DialArguments& arguments);

} // namespace talik::dialler
