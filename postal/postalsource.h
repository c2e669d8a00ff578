#pragma once
// Reading the national postal code list as Japan Post publishes it: KEN_ALL.CSV (one row per code
// and town, long town names split over several rows) and JIGYOSYO.CSV (the large offices), both
// Shift-JIS. Only the index generator reads them; the programs read the index.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// A place of the list as the index keeps it.
struct SourcePlace
{
    std::string code; // seven digits
    std::string prefecture;
    std::string city;
    std::string town; // empty for the code of the whole city
    std::string hint; // the list's note on the town, without its brackets; empty when none
};

// A large office (or PO box) with a code of its own.
struct SourceOffice
{
    std::string code;
    std::string prefecture;
    std::string city;
    std::string street; // town and block numbers
    std::string name;
};

// The town of a KEN_ALL row split into what is written in an address and the note about it.
struct SplitTown
{
    std::string town;
    std::string hint;
};

// Shift-JIS (CP932) text as UTF-8; nullopt when it is not valid CP932.
std::optional<std::string> DecodeCp932(std::string_view bytes);

// The fields of each line of a CSV text (quoted fields may hold commas; CR LF or LF ends a line).
std::vector<std::vector<std::string>> ParseCsv(std::string_view text);

// How the list writes a town, made into the address part and its hint:
// "以下に掲載がない場合", "○○の次に番地がくる場合" and "○○村一円" are the code of the whole city
// (no town); "大通西（１～１９丁目）" is 大通西 with the hint; a building's floor "（１階）" stays
// part of the town, as it is part of the address.
SplitTown SplitTownName(std::string_view city, std::string_view town);

// The places of KEN_ALL's rows (decoded), continuation rows joined to the row they continue.
// `error` names the first row that is not a row of the list.
std::optional<std::vector<SourcePlace>> PlacesFromKenAll(const std::vector<std::vector<std::string>>& rows,
                                                         std::string& error);

// The offices of JIGYOSYO's rows (decoded).
std::optional<std::vector<SourceOffice>> OfficesFromJigyosyo(const std::vector<std::vector<std::string>>& rows,
                                                             std::string& error);

} // namespace talik
