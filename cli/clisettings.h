#pragma once
// talikcli settings get KEY / settings set KEY VALUE: one key of the mode's settings section.
namespace talik {

struct AppState;
struct CliOptions;

int SettingsCommand(AppState& state, const CliOptions& options);

} // namespace talik
