#include "platform/installpaths.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

namespace talik {
namespace {

// The data folder relative to the program folder, as GNUInstallDirs lays them out (bin/, share/).
constexpr std::string_view DataFromProgram = "../share/talik/";

bool IsExecutableFile(const std::string& path)
{
    struct stat st
    {
    };
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string InstalledDataFolder(const std::string& programFolder)
{
    // The program folder comes from the resolved executable, so ".." may be taken lexically.
    std::filesystem::path folder = std::filesystem::path(programFolder) / std::string(DataFromProgram);
    return folder.lexically_normal().string();
}

bool IsInstalledProgramFolder(const std::string& programFolder)
{
    return FolderExists(InstalledDataFolder(programFolder));
}

std::optional<std::string> FindOnPath(const std::string& name, std::string_view searchPath)
{
    if (name.empty() || name.find('/') != std::string::npos) {
        return std::nullopt;
    }
    while (!searchPath.empty()) {
        std::size_t colon = searchPath.find(':');
        std::string_view folder = searchPath.substr(0, colon);
        searchPath = colon == std::string_view::npos ? std::string_view() : searchPath.substr(colon + 1);
        if (folder.empty()) {
            continue;
        }
        std::string candidate = std::string(folder) + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    return FindOnPath(name, path != nullptr ? std::string_view(path) : std::string_view());
}

} // namespace talik
