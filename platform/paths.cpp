#include "platform/paths.h"

#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talik {
namespace {

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return (value != nullptr && *value != '\0') ? std::string(value) : fallback;
}

std::string HomeFolder()
{
    return EnvOr("HOME", "/tmp");
}

} // namespace

std::string ProgramFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return WithSlash(std::filesystem::current_path(ec).string());
    }
    return WithSlash(exe.parent_path().string());
}

std::string ProfileFolder()
{
    std::string windir = EnvOr("TALIK_WINDIR", "");
    if (!windir.empty()) {
        return windir;
    }
    return EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config") + "/talik";
}

std::string WritableProgramFolder(const std::string& programFolder)
{
    if (access(programFolder.c_str(), W_OK | X_OK) == 0) {
        return WithSlash(programFolder);
    }
    std::string home = EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share") + "/talik";
    MakeFolders(home);
    return WithSlash(home);
}

bool FolderExists(const std::string& path)
{
    struct stat st
    {
    };
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool MakeFolders(const std::string& path)
{
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return FolderExists(path);
}

std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name)
{
    std::string dir = folder.empty() ? std::string(".") : folder;
    std::string exact = WithSlash(dir) + name;
    if (access(exact.c_str(), F_OK) == 0) {
        return exact;
    }
    DIR* handle = opendir(dir.c_str());
    if (handle == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> found;
    while (dirent* entry = readdir(handle)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = WithSlash(dir) + entry->d_name;
            break;
        }
    }
    closedir(handle);
    return found;
}

std::string ResolveNoCase(const std::string& folder, const std::string& name)
{
    auto found = FindFileNoCase(folder, name);
    return found ? *found : WithSlash(folder) + name;
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string ResolvePathNoCase(const std::string& path)
{
    std::filesystem::path p(path);
    return ResolveNoCase(p.parent_path().string(), p.filename().string());
}

} // namespace talik
