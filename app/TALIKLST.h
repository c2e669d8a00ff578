#pragma once
// The address list window: the program's main window.
#include <QWidget>

#include <memory>

#include "editor/recordlist.h"
#include "listwin/listmenus.h"
#include "listwin/listwindow.h"
#include "store/season.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;

namespace talik {

struct AppState;
class IndexPanel;
class Launcher;
class PasswordStore;
class SyncRoom;
class SyncRoomSource;
class ListViewModel;
class TALIKIN;

class TALIKLST : public QWidget
{
    Q_OBJECT
public:
    TALIKLST(AppState& state,
             Launcher& launcher,
             TALIKIN* startForm,
             QWidget* parent = nullptr,
             const Readiness& ready = Ready);
    ~TALIKLST() override;

    // Loads the tables when they are not (or no longer) loaded and shows the first tab. False when
    // the program is to end (the password prompt of the first database was cancelled).
    bool loadIfNeeded();
    // Shows a tab's records (nothing for the shown tab or a count tab).
    void showTab(int tab);
    // The kana jump of the jump box's text.
    void kanaJump();
    // Switches to database `index` + 1 and shows its first tab.
    void switchDatabase(int index);
    // Switches the list mode (0 individual, 1 row).
    void switchListMode(int mode);
    // The list columns changed: headers afresh, tables reloaded at the next activation.
    void columnsChanged();
    // Shows the window in its normal state, in front, active: a second copy asked for it.
    void bringToFront();
    // Ends the program through the closing path (the tray menu's exit entry).
    void requestExit();

    const ListMenus& menus() const { return m_menus; }
    // Where the sync windows keep and find the account's password (the desktop's secret store
    // unless a test gives its own).
    void usePasswordStore(PasswordStore& store);
    // Where the sync windows come from (the module beside the program unless a test gives its own).
    void useSyncRoom(std::unique_ptr<SyncRoomSource> source);

signals:
    void programEnds();
    // A press on the window's background handed the window to the window manager to move.
    void windowMoveStarted();
    // A database's tables were loaded and its first tab filled into the list.
    void listFilled();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void buildFrames();
    void connectControls();
    void connectMenus();
    void connectRecordCommands();
    void deleteAllData();
    void applyOpeningGeometry();
    void storeGeometry();
    void storeColumnWidths();
    void buildColumns();
    void afterLoad();
    void layoutTabs();
    void showCounts();
    void markTab();
    void setRecordButtons(const RecordButtons& buttons);
    void selectCurrentRow();
    void restRecordCommands();
    void refillShownTab();
    void deleteSelected();
    // Every record of the open database to a CSV file.
    void exportAllCsv();
    // Telephone slot `slot` of the selected record: the call confirmation, then the dialler.
    void dial(int slot);
    // Postcards or label sheet of the selected record, else of every record; the list of every record.
    void printFromList(char kind);
    void shapePrintMenu();
    // The record editor on a new record, or on the selected one (" " change, "R" view).
    void newRecord();
    void openRecord(char status);
    void reflectEditor();
    // The editor in search mode, then the results; the shown tab afterwards, refilled.
    void search();
    // The CSV import; the shown list and the counts afterwards.
    void importCsv();
    // The whole database to a vCard file, and the cards of a vCard file as new records.
    void exportAllVcard();
    void importVcard();
    void reviewDuplicates();
    // Backup (true) or restore (false); a restore that replaced the open database reloads it.
    void backupOrRestore(bool backupMode);
    void nameDatabases();
    void setDatabasePassword();
    // The sync account, and a sync run now; the shown tab afterwards, refilled.
    void openSyncAccount();
    void syncNow();
    void setSyncAtStartAndExit(bool on);
    // The sync room, loaded on first use; nullptr (the user was told why) when it cannot be.
    SyncRoom* syncRoom();
    void doubleClickAction();
    // The environment settings, then the list font and a changed data folder's database.
    void openEnvironmentSettings();
    // The open database's own check-item names.
    void openCheckItemNames();
    void showStatusHint();
    // The count in red on light cyan, as it stands between hints.
    void showCountColours();
    // The card season: the view on or off, a filter chosen (none: every row), 受 toggled on the
    // selected rows, the year's summary; the year's marks read afresh and the filter applied.
    void setSeasonView(bool on);
    void chooseSeasonFilter(std::optional<SeasonFilter> filter);
    void toggleReceived();
    void showSeasonSummary();
    void refreshSeason();
    // Shows the list after the core changed it, with the card marks and the filter brought up to date.
    void refreshList();
    bool handleKey(QKeyEvent* event);
    void runKeyCommand(const KeyAction& action);
    void dragWindow();
    int px(int twips) const;
    QRect toPixels(const TwipRect& rect) const;

    AppState& m_state;
    Launcher& m_launcher;
    Readiness m_ready; // which buttons and entries may be enabled at all
    TALIKIN* m_startForm;
    ListViewModel* m_model;
    QTreeView* m_list;
    IndexPanel* m_panel;
    QLabel* m_label1; // list title
    QLabel* m_label3; // database name
    QLabel* m_label4; // loading
    QLabel* m_label5; // status line
    QFrame* m_frame1;
    QLabel* m_label6;
    QLineEdit* m_jump; // Text1
    QFrame* m_frame2;
    QPushButton* m_new;       // Command3
    QPushButton* m_change;    // Command2
    QPushButton* m_delete;    // Command1
    QPushButton* m_telephone; // Command5
    QPushButton* m_mail;      // Command8
    QPushButton* m_print;     // Command9
    QPushButton* m_close;     // Command4
    QTimer* m_timer1;
    ListMenus m_menus;
    std::unique_ptr<RecordListController> m_records; // what the result window shares
    std::unique_ptr<SyncRoomSource> m_syncRoom;      // the sync's windows, and the passwords of this session
    bool m_jumping = false;
    bool m_refocusing = false; // the list gets its focus back after a tab was filled
    bool m_ending = false;
    bool m_startSyncAsked = false; // the sync at start was looked at after the first load
};

} // namespace talik
