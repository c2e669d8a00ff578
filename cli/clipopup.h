#pragma once
// talikcli commands of the list windows' popup menus: copy, delete-all, mail-url.
namespace talik {

struct AppState;
struct CliOptions;

// copy N [--setting 1-4]: the text the clipboard would get, on standard output.
int CopyCommand(AppState& state, const CliOptions& options);
// delete-all: every record of the database (the question on standard error, answered yes).
int DeleteAllCommand(AppState& state, const CliOptions& options);
// mail-url --records a,b,...: the mailto URL bulk mail would hand to the mail program.
int MailUrlCommand(AppState& state, const CliOptions& options);

} // namespace talik
