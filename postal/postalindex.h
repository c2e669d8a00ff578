#pragma once
// The compiled national postal code list, mapped from its file: places and large offices by code,
// and places by the start of an address.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talik {

// One place (or large office) of the list.
struct PostalPlace
{
    std::string code; // seven digits, no hyphen
    std::string prefecture;
    std::string city;
    std::string town;   // empty for the code of the whole city; a large office's town and block numbers
    std::string hint;   // the list's note on the town ("１～１９丁目"), empty when none
    std::string office; // the large office's name; empty for a place

    bool isOffice() const { return !office.empty(); }
    // Prefecture, city and town as written in an address.
    std::string address() const { return prefecture + city + town; }
};

class PostalIndex
{
public:
    // Maps the index file; nullopt (with the reason in `error`) when it is missing or damaged.
    static std::optional<PostalIndex> Open(const std::string& path, std::string& error);

    PostalIndex(PostalIndex&& other) noexcept;
    PostalIndex& operator=(PostalIndex&& other) noexcept;
    PostalIndex(const PostalIndex&) = delete;
    PostalIndex& operator=(const PostalIndex&) = delete;
    ~PostalIndex();

    // The places of a seven-digit code, in the list's order, or its large office.
    std::vector<PostalPlace> byCode(std::string_view sevenDigits) const;
    // The places (not offices) whose prefecture, city and town is the longest start of `address`,
    // by code. The prefecture may be left out of `address`; the places of every prefecture with
    // such a city are then candidates.
    std::vector<PostalPlace> byAddress(std::string_view address) const;

    std::size_t placeCount() const { return m_placeCount; }
    std::size_t officeCount() const { return m_officeCount; }

private:
    PostalIndex(const unsigned char* data, std::size_t size);
    // Reads the header's counts once every table is found inside the file; false when one is not.
    bool readHeader();
    std::uint32_t u32(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::string text(std::uint32_t ref) const;
    std::uint32_t placeCode(std::uint32_t place) const;
    PostalPlace place(std::uint32_t number) const;
    PostalPlace office(std::uint32_t number) const;
    void fillCity(PostalPlace& place, std::uint16_t city) const;
    std::string hint(std::uint32_t place) const;
    const std::vector<std::pair<std::string, std::string>>& foldedCities() const;

    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_placeCount = 0;
    std::size_t m_officeCount = 0;
    std::size_t m_cityCount = 0;
    std::size_t m_hintCount = 0;
    std::size_t m_poolUnits = 0;
    std::size_t m_runCount = 0;
    // Each city's folded name, and with its prefecture, made on the first address lookup: later
    // ones then fold only the towns of the cities that match. Not shared between threads.
    mutable std::vector<std::pair<std::string, std::string>> m_foldedCities;
};

// Where the index is: beside the program (a build tree), else in the installed copy's data folder.
// Empty when neither has it.
std::string FindPostalIndex(const std::string& programFolder, const std::string& installedDataFolder);

} // namespace talik
