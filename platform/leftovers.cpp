#include "platform/leftovers.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace talik {
namespace {

constexpr std::string_view TempSuffix = ".tmp";

bool ProcessRuns(long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

long TemporaryOwner(std::string_view name)
{
    if (name.size() < 2 + TempSuffix.size() + 2 || name.front() != '.' || !name.ends_with(TempSuffix)) {
        return -1;
    }
    name.remove_suffix(TempSuffix.size());
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 == name.size() || name.size() - dot > 11) {
        return -1; // no name before the id, no id, or more digits than a process id has
    }
    long pid = 0;
    for (char c : name.substr(dot + 1)) {
        if (c < '0' || c > '9') {
            return -1;
        }
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 ? pid : -1;
}

int RemoveLeftoverTemporaries(const std::string& folder)
{
    std::error_code ec;
    std::vector<std::filesystem::path> leftovers;
    const long self = ::getpid();
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        long owner = TemporaryOwner(entry.path().filename().string());
        if (owner > 0 && (owner == self || !ProcessRuns(owner)) && entry.is_regular_file(ec)) {
            leftovers.push_back(entry.path());
        }
    }
    int removed = 0;
    for (const auto& path : leftovers) {
        removed += std::filesystem::remove(path, ec) ? 1 : 0;
    }
    return removed;
}

} // namespace talik
