#pragma once
// The CSV import as the list window runs it: the file, the mapping dialog, the check items, the
// question, the import itself with its progress, and the report.
class QWidget;

namespace talik {

struct AppState;

// False when nothing was imported because the user stopped at a dialog or the file was refused.
bool RunCsvImport(AppState& state, QWidget* parent);

} // namespace talik
