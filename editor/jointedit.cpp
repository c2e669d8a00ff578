#include "editor/jointedit.h"

#include <utility>

#include "platform/trim.h"

namespace talik {
namespace {

// Trimmed as the editor's other boxes are.
std::string TrimmedCell(const std::string& text)
{
    return std::string(TrimOf(text, " \t"));
}

} // namespace

JointRowsChecked CheckJointRows(const std::vector<JointName>& rows)
{
    JointRowsChecked checked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        JointName name{TrimmedCell(rows[i].family), TrimmedCell(rows[i].given), TrimmedCell(rows[i].honorific)};
        if (name.given.empty()) {
            if ((!name.family.empty() || !name.honorific.empty()) && !checked.missingGiven) {
                checked.missingGiven = static_cast<int>(i);
            }
            continue;
        }
        if (name.honorific.empty()) {
            name.honorific = std::string(DefaultHonorific);
        }
        checked.names.push_back(std::move(name));
    }
    return checked;
}

std::vector<JointName> JointConditionRows(const std::vector<JointName>& rows)
{
    std::vector<JointName> wanted;
    for (const JointName& row : rows) {
        JointName name{TrimmedCell(row.family), TrimmedCell(row.given), {}};
        if (!name.family.empty() || !name.given.empty()) {
            wanted.push_back(std::move(name));
        }
    }
    return wanted;
}

bool MoveJointRow(std::vector<JointName>& rows, int row, int by)
{
    int to = row + by;
    if (row < 0 || to < 0 || row >= static_cast<int>(rows.size()) || to >= static_cast<int>(rows.size())) {
        return false;
    }
    std::swap(rows[static_cast<std::size_t>(row)], rows[static_cast<std::size_t>(to)]);
    return true;
}

} // namespace talik
