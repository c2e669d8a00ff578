#include "postal/postalindex.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "postal/postalformat.h"
#include "postal/postaltext.h"

namespace talik {

using namespace postal;

std::optional<PostalIndex> PostalIndex::Open(const std::string& path, std::string& error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "郵便番号データ " + path + " を開けません。";
        return std::nullopt;
    }
    struct stat st
    {
    };
    void* data = MAP_FAILED;
    if (fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(HeaderSize)) {
        data = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    }
    close(fd);
    if (data == MAP_FAILED) {
        error = "郵便番号データ " + path + " が壊れています。";
        return std::nullopt;
    }
    PostalIndex index(static_cast<const unsigned char*>(data), static_cast<std::size_t>(st.st_size));
    if (!index.readHeader()) {
        error = "郵便番号データ " + path + " が壊れています。";
        return std::nullopt;
    }
    return index;
}

PostalIndex::PostalIndex(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

PostalIndex::PostalIndex(PostalIndex&& other) noexcept
{
    *this = std::move(other);
}

PostalIndex& PostalIndex::operator=(PostalIndex&& other) noexcept
{
    if (this != &other) {
        if (m_data != nullptr) {
            munmap(const_cast<unsigned char*>(m_data), m_size);
        }
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_placeCount = std::exchange(other.m_placeCount, 0);
        m_officeCount = std::exchange(other.m_officeCount, 0);
        m_cityCount = std::exchange(other.m_cityCount, 0);
        m_hintCount = std::exchange(other.m_hintCount, 0);
        m_poolUnits = std::exchange(other.m_poolUnits, 0);
        m_runCount = std::exchange(other.m_runCount, 0);
        m_foldedCities = std::move(other.m_foldedCities);
    }
    return *this;
}

PostalIndex::~PostalIndex()
{
    if (m_data != nullptr) {
        munmap(const_cast<unsigned char*>(m_data), m_size);
    }
}

std::uint32_t PostalIndex::u32(std::size_t offset) const
{
    return m_data[offset] | (m_data[offset + 1] << 8) | (m_data[offset + 2] << 16) |
           (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
}

std::uint16_t PostalIndex::u16(std::size_t offset) const
{
    return static_cast<std::uint16_t>(m_data[offset] | (m_data[offset + 1] << 8));
}

// Every table must lie inside the file, so that no lookup reads past it; the texts are checked as
// they are read.
bool PostalIndex::readHeader()
{
    if (std::string_view(reinterpret_cast<const char*>(m_data), Magic.size()) != Magic || u32(FileSize) != m_size) {
        return false;
    }
    auto fits = [this](std::size_t offset, std::size_t count, std::size_t size) {
        return offset >= HeaderSize && offset <= m_size && count <= (m_size - offset) / size;
    };
    bool ok = fits(u32(PlacesOffset), u32(PlaceCount), PlaceSize) &&
              fits(u32(OfficesOffset), u32(OfficeCount), OfficeSize) &&
              fits(u32(CitiesOffset), u32(CityCount), CitySize) && fits(u32(HintsOffset), u32(HintCount), HintSize) &&
              fits(u32(RunsOffset), u32(RunCount), RunSize) && fits(u32(PoolOffset), u32(PoolUnits), 2);
    if (!ok) {
        return false;
    }
    m_placeCount = u32(PlaceCount);
    m_officeCount = u32(OfficeCount);
    m_cityCount = u32(CityCount);
    m_hintCount = u32(HintCount);
    m_poolUnits = u32(PoolUnits);
    m_runCount = u32(RunCount);
    return true;
}

std::string PostalIndex::text(std::uint32_t ref) const
{
    if (ref == 0 || ref >= m_poolUnits) {
        return {};
    }
    std::size_t base = u32(PoolOffset);
    std::size_t length = std::min<std::size_t>(u16(base + 2 * ref), m_poolUnits - ref - 1);
    std::u16string units(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        units[i] = static_cast<char16_t>(u16(base + 2 * (ref + 1 + i)));
    }
    return ToUtf8(units);
}

std::uint32_t PostalIndex::placeCode(std::uint32_t place) const
{
    return u32(u32(PlacesOffset) + place * PlaceSize);
}

void PostalIndex::fillCity(PostalPlace& place, std::uint16_t city) const
{
    if (city >= m_cityCount) {
        return;
    }
    std::size_t offset = u32(CitiesOffset) + city * CitySize;
    place.prefecture = text(u32(offset));
    place.city = text(u32(offset + 4));
}

std::string PostalIndex::hint(std::uint32_t place) const
{
    std::size_t base = u32(HintsOffset);
    std::size_t low = 0;
    std::size_t high = m_hintCount;
    while (low < high) {
        std::size_t mid = (low + high) / 2;
        std::uint32_t at = u32(base + mid * HintSize);
        if (at == place) {
            return text(u32(base + mid * HintSize + 4));
        }
        (at < place ? low = mid + 1 : high = mid);
    }
    return {};
}

static std::string CodeText(std::uint32_t code)
{
    std::string digits = std::to_string(code);
    return std::string(7 - std::min<std::size_t>(7, digits.size()), '0') + digits;
}

PostalPlace PostalIndex::place(std::uint32_t number) const
{
    std::size_t offset = u32(PlacesOffset) + number * PlaceSize;
    PostalPlace result;
    result.code = CodeText(u32(offset));
    result.town = text(u32(offset + 4));
    fillCity(result, u16(offset + 8));
    result.hint = hint(number);
    return result;
}

PostalPlace PostalIndex::office(std::uint32_t number) const
{
    std::size_t offset = u32(OfficesOffset) + number * OfficeSize;
    PostalPlace result;
    result.code = CodeText(u32(offset));
    fillCity(result, u16(offset + 4));
    result.town = text(u32(offset + 6));
    result.office = text(u32(offset + 10));
    return result;
}

std::vector<PostalPlace> PostalIndex::byCode(std::string_view sevenDigits) const
{
    std::optional<std::string> code = NormalizePostalCode(sevenDigits);
    std::vector<PostalPlace> found;
    if (!code) {
        return found;
    }
    std::uint32_t wanted = static_cast<std::uint32_t>(std::stoul(*code));
    auto firstAtOrAfter = [&](std::size_t count, std::size_t base, std::size_t size) {
        std::size_t low = 0;
        std::size_t high = count;
        while (low < high) {
            std::size_t mid = (low + high) / 2;
            (u32(base + mid * size) < wanted ? low = mid + 1 : high = mid);
        }
        return low;
    };
    std::size_t placesBase = u32(PlacesOffset);
    for (std::size_t i = firstAtOrAfter(m_placeCount, placesBase, PlaceSize);
         i < m_placeCount && placeCode(static_cast<std::uint32_t>(i)) == wanted; ++i) {
        found.push_back(place(static_cast<std::uint32_t>(i)));
    }
    std::size_t officesBase = u32(OfficesOffset);
    for (std::size_t i = firstAtOrAfter(m_officeCount, officesBase, OfficeSize);
         i < m_officeCount && u32(officesBase + i * OfficeSize) == wanted; ++i) {
        found.push_back(office(static_cast<std::uint32_t>(i)));
    }
    return found;
}

const std::vector<std::pair<std::string, std::string>>& PostalIndex::foldedCities() const
{
    if (m_foldedCities.empty()) {
        m_foldedCities.reserve(m_cityCount);
        for (std::size_t c = 0; c < m_cityCount; ++c) {
            std::size_t offset = u32(CitiesOffset) + c * CitySize;
            std::string city = FoldAddress(text(u32(offset + 4)));
            m_foldedCities.emplace_back(city, FoldAddress(text(u32(offset))) + city);
        }
    }
    return m_foldedCities;
}

std::vector<PostalPlace> PostalIndex::byAddress(std::string_view address) const
{
    std::string folded = FoldAddress(address);
    std::size_t best = 0;
    std::vector<std::uint32_t> matches;
    std::size_t citiesBase = u32(CitiesOffset);
    std::size_t runsBase = u32(RunsOffset);
    for (std::size_t c = 0; c < m_cityCount; ++c) {
        std::size_t offset = citiesBase + c * CitySize;
        const auto& [city, withPrefecture] = foldedCities()[c];
        std::size_t used = folded.starts_with(withPrefecture) ? withPrefecture.size()
                           : folded.starts_with(city)         ? city.size()
                                                              : 0;
        if (used == 0 || used < best) {
            continue;
        }
        std::string_view rest = std::string_view(folded).substr(used);
        std::uint32_t first = u32(offset + 8);
        std::uint32_t count = u32(offset + 12);
        for (std::uint32_t r = first; r < first + count && r < m_runCount; ++r) {
            std::uint32_t start = u32(runsBase + r * RunSize);
            std::uint32_t length = u32(runsBase + r * RunSize + 4);
            for (std::uint32_t number = start; number < start + length && number < m_placeCount; ++number) {
                std::string town = FoldAddress(text(u32(u32(PlacesOffset) + number * PlaceSize + 4)));
                if (!rest.starts_with(town) || used + town.size() < best) {
                    continue;
                }
                if (used + town.size() > best) {
                    best = used + town.size();
                    matches.clear();
                }
                matches.push_back(number);
            }
        }
    }
    std::sort(matches.begin(), matches.end());
    std::vector<PostalPlace> found;
    for (std::uint32_t number : matches) {
        found.push_back(place(number));
    }
    return found;
}

std::string FindPostalIndex(const std::string& programFolder, const std::string& installedDataFolder)
{
    for (const std::string& folder : {programFolder, installedDataFolder}) {
        if (folder.empty()) {
            continue;
        }
        std::string path = folder + (folder.ends_with('/') ? "" : "/") + std::string(IndexFileName);
        if (access(path.c_str(), R_OK) == 0) {
            return path;
        }
    }
    return {};
}

} // namespace talik
