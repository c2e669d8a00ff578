#pragma once
// What talik32 prints, without opening a window, when asked for its usage or its version.
#include <optional>
#include <string>
#include <vector>

namespace talik {

// The text for "--help" or "--version" when the command line holds either (the first one named
// wins); nullopt for any other command line, which starts the address book.
std::optional<std::string> CommandInfo(const std::vector<std::string>& args);

// "使い方: talik32 [-NN] ...": the mode argument and the two options.
std::string Talik32Usage();

// "talik32 (Rinmaro) 7.01".
std::string Talik32Version();

} // namespace talik
