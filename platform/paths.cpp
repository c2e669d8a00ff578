#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/installpaths.h"

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

// The home folder the password database gives this user.
std::optional<std::string> PasswordHomeFolder()
{
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error = 0;
    while ((error = getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || found == nullptr || found->pw_dir == nullptr || *found->pw_dir == '\0') {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

// $`xdgVariable` when set, else `relative` under the user's home; without any home a new folder
// of its own (MakePrivateFolder), or "" when even that cannot be made.
std::string UserFolder(const char* xdgVariable, const std::string& relative)
{
    std::string xdg = EnvOr(xdgVariable, "");
    if (!xdg.empty()) {
        return xdg;
    }
    if (auto home = HomeFolder()) {
        return *home + relative;
    }
    return MakePrivateFolder().value_or(std::string());
}

} // namespace

std::optional<std::string> HomeFolder()
{
    std::string home = EnvOr("HOME", "");
    if (!home.empty()) {
        return home;
    }
    return PasswordHomeFolder();
}

std::optional<std::string> MakePrivateFolder()
{
    std::string pattern = WithoutTrailingSlash(EnvOr("TMPDIR", "/tmp")) + "/talik-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    return pattern;
}

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
    std::string config = UserFolder("XDG_CONFIG_HOME", "/.config");
    // Nowhere to keep settings: the root folder, where nobody else can plant a settings file and
    // every write fails in the open.
    return config.empty() ? std::string("/") : config + "/talik";
}

std::string WritableProgramFolder(const std::string& programFolder)
{
    // An installed copy's folder is shared by every user, even when this one (root) may write there.
    if (access(programFolder.c_str(), W_OK | X_OK) == 0 && !IsInstalledProgramFolder(programFolder)) {
        return WithSlash(programFolder);
    }
    std::string data = UserFolder("XDG_DATA_HOME", "/.local/share");
    if (data.empty()) {
        // Nowhere to write: the program folder, where every write fails in the open.
        return WithSlash(programFolder);
    }
    std::string folder = data + "/talik";
    MakeFolders(folder);
    return WithSlash(folder);
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
