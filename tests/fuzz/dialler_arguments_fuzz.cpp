// The dialler's command line of any content: the arguments (the input split at NUL bytes) joined
// and parsed as the dialler does at start, then what the window and the modem take from them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialler/arguments.h"
#include "tests/fuzz/fuzzsupport.h"

namespace {

using talik::fuzz::Require;

bool IsTrimmed(const std::string& text)
{
    return text.empty() || (text.front() != ' ' && text.back() != ' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace talik::dialler;
    const std::string text = JoinArguments(talik::fuzz::InputArguments(data, size));
    const auto arguments = ParseArguments(text);
    if (!arguments) {
        return 0;
    }
    Require(IsTrimmed(arguments->name) && IsTrimmed(arguments->number), "the name and the number are trimmed");
    Require(arguments->dialDigits == DialDigits(arguments->number), "the dialled digits come from the number");
    Require(arguments->dialDigits.find_first_not_of("0123456789,#*") == std::string::npos,
            "only digits, pauses, # and * are dialled");
    if (talik::fuzz::IsWellFormedUtf8(text)) {
        Require(arguments->port.size() <= 4, "the port is at most one character");
    }
    const int port = PortNumber(arguments->port);
    Require(port >= 0 && port <= 9, "the port number is one digit");
    const std::string caption = CalleeCaption(*arguments);
    Require(caption.find(",,") == std::string::npos || arguments->name.find(",,") != std::string::npos,
            "the callee line never shows a pager message");
    return 0;
}
