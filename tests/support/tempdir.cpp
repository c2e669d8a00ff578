#include "tests/support/tempdir.h"

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace talik::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "talik-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path TempDir::copyFixture(const std::string& name, const std::string& as) const
{
    auto target = m_path / (as.empty() ? name : as);
    std::filesystem::copy_file(std::filesystem::path(TALIK_TEST_DATA) / name, target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

std::string ReadFileText(const std::filesystem::path& file)
{
    auto bytes = ReadFileBytes(file);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FileNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace talik::test
