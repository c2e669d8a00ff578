#include "postal/postalsource.h"

#include <cerrno>
#include <iconv.h>

#include "postal/postaltext.h"

namespace talik {
namespace {

constexpr std::string_view OpenBracket = "（";
constexpr std::string_view CloseBracket = "）";
constexpr std::string_view NotListed = "以下に掲載がない場合";
constexpr std::string_view BlockFollows = "の次に";
constexpr std::string_view BlockFollowsEnd = "がくる場合";
constexpr std::string_view WholeVillage = "一円";

// KEN_ALL's columns (0-based): postal code, prefecture, city and town in kanji.
constexpr std::size_t KenCode = 2;
constexpr std::size_t KenPrefecture = 6;
constexpr std::size_t KenCity = 7;
constexpr std::size_t KenTown = 8;
constexpr std::size_t KenColumns = 15;

// JIGYOSYO's columns: name, prefecture, city, town, block numbers, postal code.
constexpr std::size_t OfficeName = 2;
constexpr std::size_t OfficePrefecture = 3;
constexpr std::size_t OfficeCity = 4;
constexpr std::size_t OfficeTown = 5;
constexpr std::size_t OfficeBlock = 6;
constexpr std::size_t OfficeCode = 7;
constexpr std::size_t OfficeColumns = 13;

std::string Trimmed(std::string_view text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool IsSevenDigits(std::string_view code)
{
    return code.size() == 7 && code.find_first_not_of("0123456789") == std::string_view::npos;
}

// A floor of a tall building: "１階" .. "５９階", full-width digits and 階.
bool IsFloor(std::string_view note)
{
    constexpr std::string_view Floor = "階";
    if (!note.ends_with(Floor) || note.size() == Floor.size()) {
        return false;
    }
    std::u16string digits = ToUtf16(note.substr(0, note.size() - Floor.size()));
    for (char16_t digit : digits) {
        if (digit < u'０' || digit > u'９') {
            return false;
        }
    }
    return true;
}

// A row whose town opens a bracket it does not close goes on in the next rows.
bool OpensBracket(std::string_view town)
{
    return town.find(OpenBracket) != std::string_view::npos && town.find(CloseBracket) == std::string_view::npos;
}

std::string RowError(std::size_t index, const char* what)
{
    return std::to_string(index + 1) + " 行目: " + what;
}

} // namespace

std::optional<std::string> DecodeCp932(std::string_view bytes)
{
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(bytes.size() * 2, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

SplitTown SplitTownName(std::string_view city, std::string_view town)
{
    // "○○の次に番地がくる場合", also with the block numbers: "琴平町の次に１～４２６番地がくる場合".
    bool blockFollows =
        town.find(BlockFollows) != std::string_view::npos && town.find(BlockFollowsEnd) != std::string_view::npos;
    if (town == NotListed || blockFollows) {
        return {"", town == NotListed ? "" : std::string(town)};
    }
    // "利島村一円": the whole village; the real town 一円 (多賀町一円) is written alone.
    if (town.ends_with(WholeVillage) && town.size() > WholeVillage.size() &&
        city.ends_with(town.substr(0, town.size() - WholeVillage.size()))) {
        return {"", ""};
    }
    std::size_t open = town.find(OpenBracket);
    if (open == std::string_view::npos) {
        return {std::string(town), ""};
    }
    std::size_t close = town.rfind(CloseBracket);
    std::size_t noteStart = open + OpenBracket.size();
    std::string_view note = close == std::string_view::npos || close < noteStart
                                ? town.substr(noteStart)
                                : town.substr(noteStart, close - noteStart);
    std::string base(town.substr(0, open));
    if (IsFloor(note)) {
        return {base + std::string(note), ""};
    }
    return {base, std::string(note)};
}

std::optional<std::vector<SourcePlace>> PlacesFromKenAll(const std::vector<std::vector<std::string>>& rows,
                                                         std::string& error)
{
    std::vector<SourcePlace> places;
    places.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        if (row.size() != KenColumns || !IsSevenDigits(row[KenCode])) {
            error = RowError(i, "郵便番号データの行ではありません。");
            return std::nullopt;
        }
        std::string town = row[KenTown];
        // The rest of a long town name is in the following rows of the same code.
        while (OpensBracket(town) && i + 1 < rows.size() && rows[i + 1].size() == KenColumns &&
               rows[i + 1][KenCode] == row[KenCode]) {
            town += rows[++i][KenTown];
            if (town.find(CloseBracket) != std::string::npos) {
                break;
            }
        }
        SplitTown split = SplitTownName(row[KenCity], town);
        places.push_back({row[KenCode], row[KenPrefecture], row[KenCity], split.town, split.hint});
    }
    return places;
}

std::optional<std::vector<SourceOffice>> OfficesFromJigyosyo(const std::vector<std::vector<std::string>>& rows,
                                                             std::string& error)
{
    std::vector<SourceOffice> offices;
    offices.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        if (row.size() != OfficeColumns || !IsSevenDigits(row[OfficeCode])) {
            error = RowError(i, "事業所の郵便番号データの行ではありません。");
            return std::nullopt;
        }
        offices.push_back({row[OfficeCode], Trimmed(row[OfficePrefecture]), Trimmed(row[OfficeCity]),
                           Trimmed(row[OfficeTown]) + Trimmed(row[OfficeBlock]), Trimmed(row[OfficeName])});
    }
    return offices;
}

} // namespace talik
