#pragma once
// Setting the password of the open database.
#include <optional>
#include <string>

namespace talik {

struct StoreState;

// The most CP932 bytes a password may have: its stored form takes two digits per byte after two
// bytes of its own, within the 30-byte field.
inline constexpr long PasswordMaxBytes = 14;

// Why `password` cannot be stored so that it reads back as typed; nullopt when it can.
std::optional<std::string> PasswordProblem(const std::string& password);

// Writes the stored form of `password` (empty: no password) into the open database's main header.
// The header is read again from the file under the writers' lock and only its password changes,
// so records other copies added since the load are kept. False (the user told) when refused or
// not written.
bool SetDatabasePassword(StoreState& state, const std::string& password);

} // namespace talik
