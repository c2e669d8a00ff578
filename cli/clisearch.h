#pragma once
// talikcli search: one search or a chain of them, each with its kind and its conditions.
#include <optional>
#include <string>
#include <vector>

#include "cli/clioptions.h"
#include "listwin/listmodel.h"
#include "search/search.h"
#include "store/record.h"

namespace talik {

struct AppState;

// One search of a chain: its kind, and its conditions as the record editor leaves them.
struct SearchStep
{
    SearchKind kind = SearchKind::New;
    AddressRecord conditions{};
};

// Turns the options of each search into its step: a text field by its name (--KanaName=ﾔﾏ),
// --birthday=yyyymmdd (0000 and 00 parts match any), --check=3,7 and --kind=new|add|narrow|exclude.
// The first search is a new one, the later ones narrow the result, unless --kind says otherwise.
// nullopt (and `error`) on a bad option.
std::optional<std::vector<SearchStep>> ParseSearchSteps(const std::vector<FieldOptions>& searches, std::string& error);

// Runs the steps in order on the loaded database; the final result in record-number order, or
// nullopt when a search was refused (the user was told).
std::optional<std::vector<ListItem>> RunSearchSteps(AppState& state, const std::vector<SearchStep>& steps);

} // namespace talik
