#pragma once
// The places the folder chooser offers in place of a drive list: the home folder, the root, and
// every mounted medium under the usual mount folders.
#include <string>
#include <vector>

namespace talik {

struct FolderPlace
{
    std::string caption; // as the list shows it
    std::string path;    // without a trailing "/" (the root stays "/")
};

// `home` first, then "/", then each folder inside /media/<user>, /run/media/<user> and /mnt (in
// name order), each only when it can be entered. `mountRoot` prefixes the mount folders (tests).
std::vector<FolderPlace>
FolderPlaces(const std::string& home, const std::string& user, const std::string& mountRoot = {});

// The place a folder lies in: the one whose path is the longest leading part of `folder`; 0
// when none is (the home folder).
std::size_t PlaceOf(const std::vector<FolderPlace>& places, const std::string& folder);

} // namespace talik
