// The build's index generator: KEN_ALL.CSV and JIGYOSYO.CSV (as unpacked from Japan Post's zips)
// compiled into the postal code index.
//
//   talik_postal_gen OUTPUT KEN_ALL.CSV JIGYOSYO.CSV
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "postal/postalsource.h"
#include "postal/postalwriter.h"

namespace {

std::optional<std::string> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::vector<std::vector<std::string>>> ReadRows(const std::string& path)
{
    std::optional<std::string> bytes = ReadFile(path);
    std::optional<std::string> text = bytes ? talik::DecodeCp932(*bytes) : std::nullopt;
    if (!text) {
        std::fprintf(stderr, "%s: cannot be read as Shift-JIS text\n", path.c_str());
        return std::nullopt;
    }
    return talik::ParseCsv(*text);
}

// Written beside the output and renamed over it: a build stopped half-way leaves no half index.
bool WriteWhole(const std::string& path, const std::string& bytes)
{
    std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: talik_postal_gen OUTPUT KEN_ALL.CSV JIGYOSYO.CSV\n");
        return 2;
    }
    auto placeRows = ReadRows(argv[2]);
    auto officeRows = ReadRows(argv[3]);
    if (!placeRows || !officeRows) {
        return 1;
    }
    std::string error;
    auto places = talik::PlacesFromKenAll(*placeRows, error);
    auto offices = places ? talik::OfficesFromJigyosyo(*officeRows, error) : std::nullopt;
    if (!places || !offices) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!WriteWhole(argv[1], talik::BuildPostalIndex(*places, *offices))) {
        std::fprintf(stderr, "%s: cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
