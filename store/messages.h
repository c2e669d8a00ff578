#pragma once
// What the data store tells the user when something stops it.
#include <string>

namespace talik {

struct AppState;

void TellAccessError(AppState& state, const std::string& path);
void TellLockHeld(AppState& state, const std::string& path);
void TellWriteFailed(AppState& state, const std::string& path);
void TellGroupFull(AppState& state, int group);
void TellDatabaseFull(AppState& state);

} // namespace talik
