#pragma once
// What the data store tells the user when something stops it.
#include <string>
#include <string_view>

#include "platform/interaction.h"

namespace talik {

struct AppState;

void TellAccessError(AppState& state, const std::string& path);
void TellLockHeld(AppState& state, const std::string& path);
void TellWriteFailed(AppState& state, const std::string& path);
// A file of the user's that could not be written whole: `what` names it ("設定ファイル").
void TellFileNotWritten(Interaction& ui, std::string_view what, const std::string& path);
void TellGroupFull(AppState& state, int group);
void TellDatabaseFull(AppState& state);

} // namespace talik
