#pragma once
// The display names of the ten databases: what a name may hold, and storing them.
#include <array>
#include <optional>
#include <string>

namespace talik {

struct StoreState;

// The most CP932 bytes of a name that reads back from the settings file.
inline constexpr long DbNameMaxBytes = 79;

// Why `name` cannot be a database name (too long, a character CP932 lacks, a control character);
// nullopt when it can.
std::optional<std::string> DbNameProblem(const std::string& name);

// The name stored for database n: cleaned of surrounding blanks; empty gives "データベース" & n.
std::string StoredDbName(const std::string& name, int dbNo);

// A name as a menu entry shows it: "&" doubled so it is not taken for a shortcut marker.
std::string MenuText(const std::string& name);

// Checks all ten names, then stores them in the settings and the settings file and updates the
// list window's database label. Tells the user and changes nothing when one is refused (`refused`
// then holds its position 0..9). False when refused or the file could not be written.
bool RegisterDbNames(StoreState& state, const std::array<std::string, 10>& names, int* refused = nullptr);

} // namespace talik
