#pragma once
// Where the files of an installed copy live: the programs in <prefix>/bin, what they only read in
// <prefix>/share/talik, and other programs found through PATH.
#include <optional>
#include <string>
#include <string_view>

namespace talik {

// The folder of the read-only files (help, label presets) of a copy installed in `programFolder`'s
// prefix: <prefix>/share/talik/ beside <prefix>/bin/. Always ends in "/".
std::string InstalledDataFolder(const std::string& programFolder);

// True when `programFolder` belongs to an installed copy: its prefix holds share/talik/. Such a
// copy keeps nothing of its own in the program folder, even when the user (root) could write there.
bool IsInstalledProgramFolder(const std::string& programFolder);

// The first regular, executable file named `name` in the folders of `searchPath` (a PATH value,
// folders separated by ":"; empty entries are skipped rather than meaning the current folder);
// nullopt when there is none or `name` holds a "/".
std::optional<std::string> FindOnPath(const std::string& name, std::string_view searchPath);

// FindOnPath with the PATH of the environment.
std::optional<std::string> FindOnPath(const std::string& name);

} // namespace talik
