#pragma once
// What the data store tells the user when something stops it.
#include <string>
#include <string_view>

#include "platform/interaction.h"

namespace talik {

struct StoreState;

void TellAccessError(StoreState& state, const std::string& path);
void TellLockHeld(StoreState& state, const std::string& path);
void TellWriteFailed(StoreState& state, const std::string& path);
// A file of the user's that could not be written whole: `what` names it ("設定ファイル").
void TellFileNotWritten(Interaction& ui, std::string_view what, const std::string& path);
void TellGroupFull(StoreState& state, int group);
void TellDatabaseFull(StoreState& state);

} // namespace talik
