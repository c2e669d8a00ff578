#pragma once
// The desktop's mail program: the default application for "x-scheme-handler/mailto" as the XDG
// mimeapps.list files name it, its Exec line split into an argument list (never a shell).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// The folders the lookup reads, in XDG order of precedence.
struct XdgFolders
{
    std::vector<std::string> configDirs; // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    std::vector<std::string> dataDirs;   // $XDG_DATA_HOME, then $XDG_DATA_DIRS
    std::vector<std::string> desktops;   // $XDG_CURRENT_DESKTOP, lower case
};
XdgFolders XdgFoldersFromEnvironment();

// The argument list that opens `url` with the default mailto handler (program first); nullopt
// when no handler is set, its desktop entry is missing or hidden, or its Exec line is malformed.
std::optional<std::vector<std::string>> MailHandlerCommand(const std::string& url, const XdgFolders& folders);

// An Exec value split by the desktop-entry rules (string escapes, then double quotes with
// backslash escapes inside), "%u"/"%U" (and "%f"/"%F") replaced by `url` as one argument, "%%" by
// "%", other field codes dropped; `url` appended when the line has no place for it. nullopt when
// the line is malformed (an open quote) or empty.
std::optional<std::vector<std::string>> ExpandExec(std::string_view exec, const std::string& url);

} // namespace talik
