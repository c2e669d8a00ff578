#include "tests/fuzz/fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace talik::fuzz {
namespace {

class OwnedFolder
{
public:
    OwnedFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "talik-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_path = pattern;
    }
    ~OwnedFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    OwnedFolder(const OwnedFolder&) = delete;
    OwnedFolder& operator=(const OwnedFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The length of the well-formed character `text` starts with at `i`, 0 when it is not one.
std::size_t WellFormedLength(std::string_view text, std::size_t i)
{
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

} // namespace

const std::filesystem::path& ScratchFolder()
{
    // One per process: every input of a run reuses it, and it goes when the run ends.
    static const OwnedFolder folder;
    return folder.path();
}

std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path path = ScratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Require(static_cast<bool>(out.flush()), "the scratch file could be written");
    return path.string();
}

std::vector<std::string> InputArguments(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments;
    if (size == 0) {
        return arguments;
    }
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t end = rest.find('\0'); end != std::string_view::npos; end = rest.find('\0')) {
        arguments.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    arguments.emplace_back(rest);
    return arguments;
}

std::optional<std::string> SilentInteraction::promptPassword(const std::string&)
{
    if (m_passwordGiven) {
        return std::nullopt;
    }
    m_passwordGiven = true;
    return "password";
}

bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = WellFormedLength(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace talik::fuzz
