#pragma once
// The record and list commands both list windows share: clipboard copy and its settings, e-mail,
// the related file, delete all data and the version window.
#include <cstddef>

class QWidget;

namespace talik {

struct AppState;
class Launcher;
class ListModel;
struct RecordMenu;

// Copy setting `setting` of the selected record to the clipboard; the clipboard is left alone when
// there is nothing to copy.
void CopyRecordToClipboard(AppState& state, const ListModel& list, int setting);
// The copy settings dialog; afterwards (however it closed) the copy entries show the names.
void EditCopySettings(AppState& state, QWidget* parent, RecordMenu& menu);
// Mail to the selected record.
void MailSelectedRecord(AppState& state, Launcher& launcher, const ListModel& list);
// Bulk mail to every listed record, in To or BCC.
void MailAllListed(AppState& state, Launcher& launcher, ListModel& list, bool bcc);
// The addresses of every listed record, joined by ", ", to the clipboard (for webmail).
void CopyAllListedAddresses(AppState& state, ListModel& list);
// The related file of the selected record.
void OpenSelectedRelatedFile(AppState& state, Launcher& launcher, const ListModel& list);

} // namespace talik
