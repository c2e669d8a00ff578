#pragma once
// Joint names (連名) on the command line: "--Joint=[family:]given[|honorific]" once per person, in
// order, and their JSON form in "show".
#include <optional>
#include <string>
#include <vector>

#include "cli/clioptions.h"
#include "store/sidestore.h"

namespace talik {

// The joint names the options give, when they give any ("--Joint=" alone gives an empty list).
// nullopt in `names` with no error: the options name none. An error names what is wrong.
struct JointOptions
{
    std::optional<std::vector<JointName>> names;
    std::string error;
};
JointOptions ParseJointOptions(const FieldOptions& fields);

struct AppState;
struct CliOptions;

// "sidestore clean": removes the side data no record holds any more and prints how many people's
// data went; "sidestore rebuild": keeps a damaged side store as MRPDATnn.db.damaged and starts an
// empty one.
int SideStoreCommand(AppState& state, const CliOptions& options);

// [{"Family":"","Given":"花子","Honorific":"様"}, …]
std::string JointJson(const std::vector<JointName>& names);

} // namespace talik
