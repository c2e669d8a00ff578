#pragma once
// Where the program's files live on this system.
#include <optional>
#include <string>

namespace talik {

// The folder of the running executable, with a trailing "/".
std::string ProgramFolder();

// The user's home folder: $HOME, else the one the password database gives; nullopt when neither
// names one. Never a guess: a fixed folder in a shared place could be another user's.
std::optional<std::string> HomeFolder();

// A new folder that only this user can enter, made by mkdtemp in $TMPDIR (else /tmp); nullopt when
// it cannot be made.
std::optional<std::string> MakePrivateFolder();

// The profile folder (home of the settings file): $TALIK_WINDIR, else $XDG_CONFIG_HOME/talik,
// else ~/.config/talik. Not created here, except that a user without any home gets talik/ in a
// new private folder (MakePrivateFolder).
std::string ProfileFolder();

// The writable home for what the program keeps "in its folder" (the default data folder, the print
// work file): `programFolder` when it is writable and not an installed copy's
// (IsInstalledProgramFolder), else $XDG_DATA_HOME/talik/ (~/.local/share/talik/), created on demand;
// a user without any home gets talik/ in a new private folder. Always ends in "/".
std::string WritableProgramFolder(const std::string& programFolder);

// True when `path` names an existing folder that can be entered.
bool FolderExists(const std::string& path);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

// Finds an existing file in `folder` whose name equals `name` without regard to ASCII case and
// returns its full path; nullopt when there is none. An exact match wins.
std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name);

// `folder` + "/" + `name`, or the existing file whose name differs only in case.
std::string ResolveNoCase(const std::string& folder, const std::string& name);

// The path without its trailing "/" (the root stays "/").
std::string WithoutTrailingSlash(std::string path);

// `path`, or the existing file in the same folder whose name differs only in case.
std::string ResolvePathNoCase(const std::string& path);

} // namespace talik
