#include "editor/recordlist.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

#include "editor/popupcommands.h"
#include "listwin/appstate.h"
#include "listwin/listviewsetup.h"

namespace talik {

RecordListController::RecordListController(
    AppState& state, Launcher& launcher, QWidget* window, Parts parts, std::function<bool()> mailReady)
    : m_state(state), m_launcher(launcher), m_window(window), m_parts(parts), m_mailReady(std::move(mailReady))
{}

void RecordListController::connectRecordCommands()
{
    RecordMenu& menu = m_parts.recordMenu;
    for (int i = 0; i < 4; ++i) {
        QObject::connect(menu.Copy_Sel[i], &QAction::triggered, m_window,
                         [this, i] { CopyRecordToClipboard(m_state, m_parts.list, i); });
    }
    QObject::connect(menu.Copy_Set, &QAction::triggered, m_window,
                     [this] { EditCopySettings(m_state, m_window, m_parts.recordMenu); });
    QObject::connect(menu.Mail, &QAction::triggered, m_window, [this] { mailSelected(); });
    QObject::connect(m_parts.mail, &QPushButton::clicked, m_window, [this] { mailSelected(); });
    QObject::connect(menu.Appl, &QAction::triggered, m_window,
                     [this] { OpenSelectedRelatedFile(m_state, m_launcher, m_parts.list); });
}

void RecordListController::mailSelected()
{
    if (m_mailReady()) {
        MailSelectedRecord(m_state, m_launcher, m_parts.list);
    }
}

void RecordListController::prepareRecordMenu()
{
    if (ReadSelectedRecord(m_state, m_parts.list)) {
        CaptionTelephoneEntries(m_state.Rec, m_parts.recordMenu, m_parts.telephoneMenu);
    }
}

void RecordListController::popupRecordMenu(std::optional<QPoint> at)
{
    if (!m_parts.list.selected()) {
        return;
    }
    prepareRecordMenu();
    if (at) {
        m_parts.recordMenu.menu->popup(*at);
    } else {
        PopupAtCurrentRow(m_parts.recordMenu.menu, m_parts.view);
    }
}

std::optional<RecordButtons> RecordListController::selectCurrentRow()
{
    QModelIndex current = m_parts.view->currentIndex();
    if (!current.isValid() || m_parts.list.empty()) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(current.row());
    m_parts.list.select(row);
    prepareRecordMenu();
    RecordButtons buttons = SelectCurrentRow(m_state, m_parts.list, row);
    m_parts.view->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return buttons;
}

void RecordListController::doubleClick(DoubleClickAction action, const DoubleClickHandlers& handlers)
{
    switch (action) {
    case DoubleClickAction::Change:
        handlers.openRecord(' ');
        break;
    case DoubleClickAction::View:
        handlers.openRecord('R');
        break;
    case DoubleClickAction::TelephoneMenu:
        if (m_parts.telephone->isEnabled()) {
            PopupBelow(m_parts.telephoneMenu.menu, m_parts.telephone);
        }
        break;
    case DoubleClickAction::PrintMenu:
        handlers.printMenu();
        break;
    case DoubleClickAction::EMail:
        if (m_parts.mail->isEnabled()) {
            mailSelected();
        }
        break;
    case DoubleClickAction::Nothing:
        break;
    }
}

} // namespace talik
