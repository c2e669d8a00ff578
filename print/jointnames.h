#pragma once
// The joint names (連名) of a recipient on their way to the card: carried in the print work file
// as one more field, and written after the main name in the marks the engines lay out.
#include <string>
#include <string_view>
#include <vector>

#include "store/sidestore.h"

namespace talik {

// The field of the work file holding the names; empty for none.
std::string EncodeJointNames(const std::vector<JointName>& names);
// What EncodeJointNames wrote; broken pieces are dropped, never more than MaxJointNames.
std::vector<JointName> DecodeJointNames(std::string_view field);

// The further names marked for the engines: one that shares the main name's family stands under
// its given name ("%花子　様"), another starts its own line ("{鈴木　一郎　様"). Each carries its own
// honorific, or `honorific` when it has none; none at all when only the last name takes one and
// it is not the last.
std::string MarkedJointNames(std::string_view mainName,
                             const std::vector<JointName>& names,
                             std::string_view honorific,
                             bool onlyAfterLastName);

} // namespace talik
