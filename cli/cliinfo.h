#pragma once
// What talikcli prints for "--help" and "--version": answered before any database is looked at.
#include <optional>
#include <string>
#include <vector>

namespace talik {

// The usage text for "--help", "talikcli 7.01" for "--version", when that is the whole command
// line; nullopt otherwise.
std::optional<std::string> CliInfo(const std::vector<std::string>& args);

} // namespace talik
