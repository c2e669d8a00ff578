#pragma once
// The editor's joint-name table (連名) as rules: what storing its rows makes of them, and moving a
// row up or down.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "store/record.h"
#include "store/sidestore.h"

namespace talik {

inline constexpr std::string_view JointGivenMissingMessage = "連名の名を入力してください。";
// Each part is held as the name field is: no more bytes than it has.
inline constexpr std::size_t JointPartBytes = sizeof(AddressRecord::KanjiName);
inline constexpr std::size_t JointHonorificBytes = sizeof(AddressRecord::Honorific);

struct JointRowsChecked
{
    std::vector<JointName> names;    // what is stored: blank rows dropped, texts trimmed, "様" when no honorific
    std::optional<int> missingGiven; // the first row (0-based) with a family name or honorific but no given name
};

JointRowsChecked CheckJointRows(const std::vector<JointName>& rows);

// The rows typed as search conditions: texts trimmed, rows without a family or given name dropped.
std::vector<JointName> JointConditionRows(const std::vector<JointName>& rows);

// Moves row `row` one place up (by -1) or down (+1); false when it cannot go there.
bool MoveJointRow(std::vector<JointName>& rows, int row, int by);

} // namespace talik
