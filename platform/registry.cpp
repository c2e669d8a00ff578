#include "platform/registry.h"

#include "platform/paths.h"
#include "platform/profile.h"

namespace talik {

std::optional<std::string>
RegistryDefaultValue(const std::string& windowsFolder, const std::string& keyPath, std::size_t bufferSize)
{
    std::string file = ResolveNoCase(WithoutTrailingSlash(windowsFolder), RegistryFileName);
    std::string value = GetPrivateProfileString(keyPath, "@", "", bufferSize, file);
    std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

} // namespace talik
