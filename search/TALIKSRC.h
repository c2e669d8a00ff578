#pragma once
#include <memory>
// The search-result window: the hits of a search, refined by further searches, changed, deleted
// and given check items in one batch.
#include <QDialog>
#include <optional>

#include "editor/recordlist.h"
#include "listwin/listmenus.h"
#include "listwin/listmodel.h"
#include "listwin/listwindow.h"
#include "search/search.h"
#include "store/changes.h"
#include "store/season.h"
#include "ui/readiness.h"

class QFrame;
class QLabel;
class QLineEdit;
class QCheckBox;
class QMenu;
class QPushButton;
class QTreeView;

namespace talik {

struct AppState;
class Launcher;
class ListViewModel;

class TALIKSRC : public QDialog
{
    Q_OBJECT
public:
    // `ready` says which of the window's buttons and entries may be enabled at all.
    TALIKSRC(AppState& state, Launcher& launcher, QWidget* parent = nullptr, const Readiness& ready = Ready);
    ~TALIKSRC() override;

    // Searches by the current kind with the conditions in the record buffer.
    void runSearch();
    // A further search (0 add, 1 narrow, 2 exclude) with conditions typed into the editor.
    void furtherSearch(int kind);
    // Sets (0) or clears (1) the check items picked in the picker in every result.
    void batchCheckItems(int mode);
    void resultJump();

    ListModel& results() { return m_results; }
    const RecordMenu& recordMenu() const { return m_recordMenu; }
    const TelephoneMenu& telephoneMenu() const { return m_telephoneMenu; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildButtons();
    void connectControls();
    void addBulkMailExtras();
    void addSeasonNarrowing();
    // Keeps the results the card year's filter keeps.
    void narrowBySeason(SeasonFilter filter);
    void fitButtonColumn();
    void connectRecordCommands();
    void applyOpeningGeometry();
    void storeGeometry();
    void setHitButtons(bool hits);
    void setRecordButtons(const RecordButtons& buttons);
    void selectCurrentRow();
    void openRecord(char status);
    void deleteSelected();
    void deleteAll();
    // The listed results, in the order shown, to a CSV file.
    void exportCsv();
    // The same to a vCard file.
    void exportVcard();
    // Telephone slot `slot` of the selected result: the call confirmation, then the dialler.
    void dial(int slot);
    // Command4, Command6(0), Command6(1) show the print menu SPM2 for the selected result, every
    // result or the selected one and those after it; its entries then print them.
    void connectPrinting();
    void showPrintMenu(QPushButton* button, const QString& prefix, bool fromFirst, bool selectedOnly);
    void printResults(char kind);
    // The record menu's print entries: the selected result.
    void printSelected(char kind);
    void doubleClickAction();
    bool handleKey(QKeyEvent* event);
    int px(int twips) const;

    AppState& m_state;
    Launcher& m_launcher;
    const Readiness m_ready;
    SearchSession m_session;
    ListModel m_results;
    std::unique_ptr<RecordListController> m_records; // what the main window shares
    bool m_editing = false;                          // the editor is open from here: records it adds join the results
    std::optional<Subscription> m_follow;
    ListViewModel* m_model;
    int m_buttonFrameWidth = 1600; // twips, as wide as the widest caption needs
    QTreeView* m_list;
    QLabel* m_countLine;                         // Label1
    QLabel* m_searching;                         // Label4, over the list while it fills
    QFrame* m_buttonFrame;                       // Frame1
    QFrame* m_jumpFrame;                         // Frame2
    QLabel* m_jumpCaption;                       // Label6
    QLineEdit* m_jump;                           // Text1
    QPushButton* m_back = nullptr;               // Command1
    QPushButton* m_change = nullptr;             // Command3
    QPushButton* m_deleteSelected = nullptr;     // Command2
    QPushButton* m_printSelection = nullptr;     // Command4
    QPushButton* m_telephone = nullptr;          // Command5
    QPushButton* m_mail = nullptr;               // Command10
    QPushButton* m_addSearch = nullptr;          // Command7(0)
    QPushButton* m_narrowSearch = nullptr;       // Command7(1)
    QPushButton* m_excludeSearch = nullptr;      // Command7(2)
    QPushButton* m_printAll = nullptr;           // Command6(0)
    QPushButton* m_printFromSelection = nullptr; // Command6(1)
    QPushButton* m_csvExport = nullptr;          // Command8
    QPushButton* m_vcardExport = nullptr;        // CommandVcard, beside Command8
    QPushButton* m_batchSet = nullptr;           // Command9(0)
    QPushButton* m_batchClear = nullptr;         // Command9(1)
    QPushButton* m_moveCopy = nullptr;           // Command11
    QPushButton* m_deleteAll = nullptr;          // Command12
    QPushButton* m_mailAll = nullptr;            // Command13
    QCheckBox* m_mailBcc = nullptr;              // bulk mail in BCC
    QPushButton* m_copyAddresses = nullptr;      // the result's addresses to the clipboard
    QPushButton* m_seasonNarrow = nullptr;       // CommandSeason: the result narrowed by the card marks
    QMenu* m_seasonMenu = nullptr;               // SPMSeason: its filters
    RecordMenu m_recordMenu;
    PrintMenu m_printMenu;
    TelephoneMenu m_telephoneMenu;
    bool m_firstSearchQueued = false;
    int m_printFirst = 0;        // the first result the print menu's entries print
    bool m_printOneOnly = false; // and whether only that one
    bool m_searched = false;
};

} // namespace talik
