#pragma once
// Header lines we know: columns chosen by their names, so that a file written by our own export,
// a Japanese spreadsheet or a web address book's CSV export comes in without choosing each column.
#include <optional>
#include <string>
#include <vector>

#include "interchange/csvimport.h"

namespace talik {

// The columns for each slot as the header names say (UTF-8 fields of line 1); nullopt when fewer
// than two columns are names we know, so the line is taken to be data. Where a file splits a field
// (family and given name, prefecture, city and street), the parts are joined in the order a
// Japanese address book writes them, whatever the order of the columns; a whole column ("氏名")
// is taken only when the file has no parts for it.
std::optional<CsvMap> GuessCsvMap(const std::vector<std::string>& header);

// The map as lines "カナ名 <- 3+4 (姓ふりがな+名ふりがな)", one for each slot that takes a
// column, for the user to check; `header` names the columns when it is given.
std::string DescribeCsvMap(const CsvMap& map, const std::vector<std::string>& header);

} // namespace talik
