#pragma once
// talikcli commands that manage databases as wholes: backup and restore, names, moving and
// copying records to another database, and the password.
namespace talik {

struct AppState;
struct CliOptions;

int BackupCommand(AppState& state, const CliOptions& options);
int RestoreCommand(AppState& state, const CliOptions& options);
int DatabasesCommand(AppState& state, const CliOptions& options);
int RenameDbCommand(AppState& state, const CliOptions& options);
int CopyToCommand(AppState& state, const CliOptions& options);
int MoveToCommand(AppState& state, const CliOptions& options);
int PasswordCommand(AppState& state, const CliOptions& options);

} // namespace talik
