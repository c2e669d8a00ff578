#include "ui/folderplaces.h"

#include <algorithm>
#include <filesystem>

#include "platform/paths.h"

namespace talik {
namespace {

std::vector<std::string> SubFolders(const std::string& folder)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && FolderExists(it->path().string())) {
            found.push_back(it->path().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool Contains(const std::string& place, const std::string& folder)
{
    if (place == "/") {
        return !folder.empty() && folder.front() == '/';
    }
    return folder == place || (folder.starts_with(place) && folder[place.size()] == '/');
}

} // namespace

std::vector<FolderPlace> FolderPlaces(const std::string& home, const std::string& user, const std::string& mountRoot)
{
    std::vector<FolderPlace> places;
    if (!home.empty() && FolderExists(home)) {
        places.push_back({"ホーム (" + WithoutTrailingSlash(home) + ")", WithoutTrailingSlash(home)});
    }
    places.push_back({"/", "/"});
    std::vector<std::string> mountFolders = {mountRoot + "/mnt"};
    if (!user.empty()) {
        mountFolders.insert(mountFolders.begin(), {mountRoot + "/media/" + user, mountRoot + "/run/media/" + user});
    }
    for (const std::string& mounts : mountFolders) {
        for (const std::string& medium : SubFolders(mounts)) {
            places.push_back({medium, medium});
        }
    }
    return places;
}

std::size_t PlaceOf(const std::vector<FolderPlace>& places, const std::string& folder)
{
    std::size_t best = 0;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (Contains(places[i].path, folder) && places[i].path.size() > bestLength) {
            best = i;
            bestLength = places[i].path.size();
        }
    }
    return best;
}

} // namespace talik
