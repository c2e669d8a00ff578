#pragma once
// Fields that take several columns of a CSV file: a file that keeps family and given name, or
// prefecture, city and street, in columns of their own still fills one field of the record.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace talik {

// How many columns one field can take: enough for prefecture, city, street and building.
inline constexpr int MaxJoinedColumns = 4;
// The 1-based columns a field takes, in the order they are joined; 0 ends the list.
using CsvColumns = std::array<int, MaxJoinedColumns>;

// How the parts of a field are put together: addresses are written without a blank between
// prefecture, city and street; names, readings and everything else take one blank.
enum class JoinStyle
{
    Blank,
    Packed,
};

// The parts joined in order, each trimmed of blanks; an empty part adds nothing, not even a blank.
std::string JoinParts(const std::vector<std::string>& parts, JoinStyle style);

// The columns of a list, each taken while the list runs (0 entries skipped).
std::vector<int> ColumnsOf(const CsvColumns& columns);

// "2+3+7" as columns; false when a part is no number from 0 to `highest` or there are more than
// MaxJoinedColumns parts.
bool ParseJoinedColumns(std::string_view text, int highest, CsvColumns& columns);

} // namespace talik
