#pragma once
// What the two address lists (the main window's and the search result's) share on screen.
class QMenu;
class QTreeView;
class QWidget;

namespace talik {

struct AppState;
class ListViewModel;
enum class ListKey;

// A report list of addresses: full-row single selection, the list font (at least 6 points), the
// column headers of the enabled columns with their stored widths.
void SetUpAddressList(QTreeView* view, ListViewModel* model, const AppState& state);
// The column headers and widths alone (after the list columns changed).
void BuildAddressColumns(QTreeView* view, ListViewModel* model, const AppState& state);
// Scrolls to row `row`, makes it the current and selected row, and focuses the list.
void ShowFoundRow(QTreeView* view, int row);
// The window's name for a Qt key.
ListKey ListKeyOfQt(int key);
// Opens a popup menu just below a control, at its left edge.
void PopupBelow(QMenu* menu, QWidget* anchor);

} // namespace talik
