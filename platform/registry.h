#pragma once
// The registry keys the program reads, emulated by the profile file "REGISTRY.INI" in the Windows
// folder: one section per key path ("HKEY_LOCAL_MACHINE\SOFTWARE\..."), value "@" for the key's
// default value.
#include <optional>
#include <string>

namespace talik {

inline constexpr const char* RegistryFileName = "REGISTRY.INI";

// The default value of `keyPath` (read with a buffer of `bufferSize` bytes, trimmed); nullopt when
// the file, the key or the value is missing or blank.
std::optional<std::string>
RegistryDefaultValue(const std::string& windowsFolder, const std::string& keyPath, std::size_t bufferSize = 128);

} // namespace talik
