#pragma once
// What the main window and the search result share about their list of records: the record menu's
// commands (copy, copy settings, mail, related file), the selection of the current row with its
// menus and buttons, and the dispatch of a double click. Each window keeps its own buttons and
// says what its print menu does.
#include <functional>
#include <optional>

#include <QPoint>

#include "listwin/listmenus.h"
#include "listwin/listwindow.h"

class QPushButton;
class QTreeView;
class QWidget;

namespace talik {

struct AppState;
class Launcher;
class ListModel;

class RecordListController
{
public:
    struct Parts
    {
        ListModel& list;
        QTreeView* view;
        RecordMenu& recordMenu;
        TelephoneMenu& telephoneMenu;
        QPushButton* telephone; // the telephone button, under which its menu opens
        QPushButton* mail;
    };
    // `mailReady` says whether mailing the selected record is ready in this window.
    RecordListController(
        AppState& state, Launcher& launcher, QWidget* window, Parts parts, std::function<bool()> mailReady);

    // Connects the record menu's copy, copy-settings, mail and related-file entries and the mail button.
    void connectRecordCommands();
    void mailSelected();
    // Reads the selected record and captions the telephone entries with its numbers.
    void prepareRecordMenu();
    // The record menu of the selected record at `at` (a right click), or under the current row (the
    // context-menu key, Shift+F10); nothing while no record is selected.
    void popupRecordMenu(std::optional<QPoint> at = std::nullopt);
    // Selects the view's current row in the list; the buttons it allows, or nothing when no row is current.
    std::optional<RecordButtons> selectCurrentRow();

    struct DoubleClickHandlers
    {
        std::function<void(char status)> openRecord; // ' ' to change, 'R' to view
        std::function<void()> printMenu;
    };
    void doubleClick(DoubleClickAction action, const DoubleClickHandlers& handlers);

private:
    AppState& m_state;
    Launcher& m_launcher;
    QWidget* m_window;
    Parts m_parts;
    std::function<bool()> m_mailReady;
};

} // namespace talik
