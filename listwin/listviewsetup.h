#pragma once
// What the two address lists (the main window's and the search result's) share on screen.
#include <functional>

class QMenu;
class QTreeView;
class QWidget;

namespace talik {

struct AppState;
class ListViewModel;
enum class ListKey;

// A report list of addresses: full-row single selection, the list font (at least 6 points), the
// column headers of the enabled columns with their stored widths, sorted ascending on the reading.
void SetUpAddressList(QTreeView* view, ListViewModel* model, const AppState& state);
// Lets Up, Down, Page Up, Page Down, Home and End move through the list as in any list, although
// the window previews these keys: the list moves first, then `rowMoved` runs when another row became
// the current one. Up, Down and the page keys go on to the window's key table, which focuses the
// list and swallows them; Home and End end here. Call it after the window installed its own key
// filter on the list, since the filter installed last sees a key first.
void FollowListKeys(QTreeView* view, std::function<void()> rowMoved);
// The column headers and widths alone (after the list columns changed).
void BuildAddressColumns(QTreeView* view, ListViewModel* model, const AppState& state);
// Scrolls to row `row`, makes it the current and selected row, and focuses the list.
void ShowFoundRow(QTreeView* view, int row);
// The window's name for a Qt key.
ListKey ListKeyOfQt(int key);
// Opens a popup menu just below a control, at its left edge.
void PopupBelow(QMenu* menu, QWidget* anchor);
// Opens a record popup from the keyboard: at the current row of the list, below its first cell
// (scrolled into view first), or at the list's top left when no row is current.
void PopupAtCurrentRow(QMenu* menu, QTreeView* view);

} // namespace talik
