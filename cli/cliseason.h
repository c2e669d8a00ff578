#pragma once
// talikcli season: marking who was sent a card, whose card came, who is in mourning and who is no
// longer written to, and listing the people of a card year by those marks.
#include <string>

namespace talik {

struct AppState;
struct CliOptions;
struct SeasonHistory;

int SeasonCommand(AppState& state, const CliOptions& options);

// The "Season" and "Stop" members show prints: years without a mark are left out.
std::string SeasonJson(const SeasonHistory& history);

} // namespace talik
