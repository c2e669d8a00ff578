#include "editor/popupcommands.h"

#include <QApplication>
#include <QClipboard>

#include "editor/mail.h"
#include "editor/relatedfile.h"
#include "listwin/TALIKCPY.h"
#include "listwin/appstate.h"
#include "listwin/clipboardcopy.h"
#include "listwin/listmenus.h"
#include "listwin/listwindow.h"
#include "platform/mailhandler.h"
#include "store/database.h"
#include "ui/qtinteraction.h"

namespace talik {

void CopyRecordToClipboard(AppState& state, const ListModel& list, int setting)
{
    if (std::optional<std::string> text = CopySelectedRecord(state, list, setting)) {
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->clear();
        clipboard->setText(Qs(*text));
    }
}

void EditCopySettings(AppState& state, QWidget* parent, RecordMenu& menu)
{
    state.EditStatus = ' ';
    TALIKCPY dialog(state, parent);
    dialog.exec();
    // Names typed before a cancel stay changed, so the captions follow after every close.
    CaptionCopyEntries(menu, state.settings);
}

void MailSelectedRecord(AppState& state, Launcher& launcher, const ListModel& list)
{
    std::optional<std::size_t> selected = list.selected();
    if (!selected) {
        return;
    }
    state.CurRecNo = RecNoOfKey(list.keyAt(*selected));
    MailCurrentRecord(state, launcher, XdgFoldersFromEnvironment());
}

void MailAllListed(AppState& state, Launcher& launcher, ListModel& list, bool bcc)
{
    if (list.empty()) {
        return;
    }
    MailList(state, launcher, list, 0, list.size() - 1, bcc, XdgFoldersFromEnvironment());
}

void CopyAllListedAddresses(AppState& state, ListModel& list)
{
    if (list.empty()) {
        return;
    }
    if (std::optional<std::vector<std::string>> addresses = CollectListAddresses(state, list, 0, list.size() - 1)) {
        std::string joined;
        for (const std::string& address : *addresses) {
            joined += (joined.empty() ? "" : ", ") + address;
        }
        QApplication::clipboard()->setText(Qs(ForClipboard(joined)));
    }
}

void OpenSelectedRelatedFile(AppState& state, Launcher& launcher, const ListModel& list)
{
    if (!ReadSelectedRecord(state, list)) {
        return;
    }
    std::string related = GetText(state.Extra.RelatedInfo);
    if (!related.empty()) {
        OpenRelatedFile(state, launcher, related);
    }
}

} // namespace talik
