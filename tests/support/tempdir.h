#pragma once
// A fresh folder per test, removed afterwards; fixtures are copied into it before anything writes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace talik::test {

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // Copies tests/data/<name> into the folder and returns the copy's path.
    std::filesystem::path copyFixture(const std::string& name, const std::string& as = {}) const;

private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file);
// The same bytes as one string.
std::string ReadFileText(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
// The names of everything in `folder`, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

} // namespace talik::test
