#pragma once
// talikcli sync: two-way sync of the database with its CardDAV address book.
namespace talik {

struct AppState;
struct CliOptions;

// sync [--url U --user N --server-password-file F] [--conflict local|server|skip] [--dry-run]
//      [--allow-mass-delete]: prints the summary line; 1 when something was left (a conflict, the
// mass-delete stop, a failure).
int SyncCommand(AppState& state, const CliOptions& options);

} // namespace talik
