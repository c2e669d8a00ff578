#include "postal/postalwriter.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>

#include "postal/postalformat.h"
#include "postal/postaltext.h"

namespace talik {
namespace {

using namespace postal;

// The texts of the index, each kept once.
class Pool
{
public:
    Pool() { m_units.push_back(0); }
    std::uint32_t add(const std::string& text)
    {
        if (text.empty()) {
            return 0;
        }
        auto [it, added] = m_refs.try_emplace(text, static_cast<std::uint32_t>(m_units.size()));
        if (added) {
            std::u16string units = ToUtf16(text);
            m_units.push_back(static_cast<char16_t>(units.size()));
            m_units += units;
        }
        return it->second;
    }
    const std::u16string& units() const { return m_units; }

private:
    std::u16string m_units;
    std::unordered_map<std::string, std::uint32_t> m_refs;
};

class Bytes
{
public:
    void u16(std::uint32_t value)
    {
        m_bytes += static_cast<char>(value & 0xFF);
        m_bytes += static_cast<char>((value >> 8) & 0xFF);
    }
    void u32(std::uint32_t value)
    {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void setU32(std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    }
    std::uint32_t size() const { return static_cast<std::uint32_t>(m_bytes.size()); }
    std::string& str() { return m_bytes; }

private:
    std::string m_bytes;
};

struct Place
{
    std::uint32_t code;
    std::uint16_t city;
    std::string town;
    std::string hint;
};

struct Cities
{
    std::map<std::pair<std::string, std::string>, std::uint16_t> numbers;
    std::vector<std::pair<std::string, std::string>> names;

    std::uint16_t number(const std::string& prefecture, const std::string& city)
    {
        auto [it, added] = numbers.try_emplace({prefecture, city}, static_cast<std::uint16_t>(names.size()));
        if (added) {
            names.emplace_back(prefecture, city);
        }
        return it->second;
    }
};

std::uint32_t CodeNumber(const std::string& code)
{
    return static_cast<std::uint32_t>(std::stoul(code));
}

// One place per code and town; the notes of rows naming the same place are kept together.
std::vector<Place> MergedPlaces(const std::vector<SourcePlace>& source, Cities& cities)
{
    std::vector<Place> places;
    std::map<std::tuple<std::uint32_t, std::uint16_t, std::string>, std::size_t> seen;
    for (const auto& row : source) {
        Place place{CodeNumber(row.code), cities.number(row.prefecture, row.city), row.town, row.hint};
        auto [it, added] = seen.try_emplace({place.code, place.city, place.town}, places.size());
        if (added) {
            places.push_back(std::move(place));
        } else if (!row.hint.empty()) {
            std::string& hint = places[it->second].hint;
            if (hint.find(row.hint) == std::string::npos) {
                hint += (hint.empty() ? "" : "、") + row.hint;
            }
        }
    }
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) { return a.code < b.code; });
    return places;
}

void WriteHeader(Bytes& out)
{
    out.str().assign(Magic);
    out.str().resize(HeaderSize, '\0');
}

} // namespace

std::string BuildPostalIndex(const std::vector<SourcePlace>& sourcePlaces,
                             const std::vector<SourceOffice>& sourceOffices)
{
    Cities cities;
    Pool pool;
    std::vector<Place> places = MergedPlaces(sourcePlaces, cities);
    std::vector<SourceOffice> offices = sourceOffices;
    std::stable_sort(offices.begin(), offices.end(),
                     [](const SourceOffice& a, const SourceOffice& b) { return a.code < b.code; });

    Bytes out;
    WriteHeader(out);
    out.setU32(PlacesOffset, out.size());
    for (const auto& place : places) {
        out.u32(place.code);
        out.u32(pool.add(place.town));
        out.u16(place.city);
    }
    out.setU32(OfficesOffset, out.size());
    for (const auto& office : offices) {
        out.u32(CodeNumber(office.code));
        out.u16(cities.number(office.prefecture, office.city));
        out.u32(pool.add(office.street));
        out.u32(pool.add(office.name));
    }

    // Runs of places of one city in the code order, grouped by city.
    std::vector<std::vector<std::pair<std::uint32_t, std::uint32_t>>> runs(cities.names.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        auto& cityRuns = runs[places[i].city];
        if (!cityRuns.empty() && cityRuns.back().first + cityRuns.back().second == i) {
            ++cityRuns.back().second;
        } else {
            cityRuns.emplace_back(static_cast<std::uint32_t>(i), 1);
        }
    }
    out.setU32(CitiesOffset, out.size());
    std::uint32_t first = 0;
    for (std::size_t c = 0; c < cities.names.size(); ++c) {
        out.u32(pool.add(cities.names[c].first));
        out.u32(pool.add(cities.names[c].second));
        out.u32(first);
        out.u32(static_cast<std::uint32_t>(runs[c].size()));
        first += static_cast<std::uint32_t>(runs[c].size());
    }
    out.setU32(HintsOffset, out.size());
    std::uint32_t hints = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!places[i].hint.empty()) {
            out.u32(static_cast<std::uint32_t>(i));
            out.u32(pool.add(places[i].hint));
            ++hints;
        }
    }
    out.setU32(RunsOffset, out.size());
    for (const auto& cityRuns : runs) {
        for (auto [start, count] : cityRuns) {
            out.u32(start);
            out.u32(count);
        }
    }
    out.setU32(PoolOffset, out.size());
    for (char16_t unit : pool.units()) {
        out.u16(unit);
    }
    out.setU32(PlaceCount, static_cast<std::uint32_t>(places.size()));
    out.setU32(OfficeCount, static_cast<std::uint32_t>(offices.size()));
    out.setU32(CityCount, static_cast<std::uint32_t>(cities.names.size()));
    out.setU32(HintCount, hints);
    out.setU32(RunCount, first);
    out.setU32(PoolUnits, static_cast<std::uint32_t>(pool.units().size()));
    out.setU32(FileSize, out.size());
    return std::move(out.str());
}

} // namespace talik
