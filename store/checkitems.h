#pragma once
// The names of the 15 check items the open database shows.
#include <array>
#include <string>

namespace talik {

struct StoreState;

// The database's own names when its marker says it keeps them ("1"), else the global names.
std::array<std::string, 15> CheckItemCaptions(const StoreState& state);

} // namespace talik
