#pragma once
// Reading the database password from where the command line says it is.
#include <optional>
#include <string>

#include "cli/clioptions.h"

namespace talik {

// The password itself, the first line of a file, or the first line of standard input (typed
// without echo at a terminal), each without its line end. nullopt and `error` when nothing could
// be read.
std::optional<std::string> ReadPassword(const PasswordOption& option, std::string& error);

} // namespace talik
